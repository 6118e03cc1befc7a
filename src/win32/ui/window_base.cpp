#include "win32/ui/window_base.h"

#include <utility>

#include "win32/ui/binder.h"
#include "win32/ui/focus_keeper.h"
#include "win32/ui/layout.h"
#include "win32/ui/system_colours.h"

namespace zv::win32 {

WindowBase::~WindowBase() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool WindowBase::Create(const char* class_name, const char* caption, DWORD style, DWORD ex_style,
                        int client_width, int client_height, HWND owner, HMENU menu) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof(window_class);
    if (!GetClassInfoExA(instance, class_name, &window_class)) {
        window_class.cbSize = sizeof(window_class);
        window_class.lpfnWndProc = Procedure;
        window_class.hInstance = instance;
        window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        window_class.lpszClassName = class_name;
        window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
        // Loaded at its own size: left out, RegisterClassEx makes it by loading the large one
        // from the resource again and shrinking it, which costs Wine 2 ms of the start. Kept
        // with the class for the program's life.
        window_class.hIconSm = LoadSmallIcon(1, ScreenDpi());
        RegisterClassExA(&window_class);
    }
    RECT frame{0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, style, menu != nullptr, ex_style);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;

    RECT area;
    if (owner != nullptr && IsWindowVisible(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    int left = area.left + (area.right - area.left - width) / 2;
    int top = area.top + (area.bottom - area.top - height) / 2;
    CreateWindowExA(ex_style, class_name, caption, style, left < 0 ? 0 : left, top < 0 ? 0 : top,
                    width, height, owner, menu, instance, this);
    if (hwnd_ != nullptr) {
        dark_title_ = FollowDarkTitleBar(hwnd_, false);
    }
    return hwnd_ != nullptr;
}

void WindowBase::RunModal(HWND owner) {
    HWND window = hwnd_;
    FocusReturn focus;
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    ShowInFront();
    MSG message;
    while (IsWindow(window) && GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchOneMessage(message);
    }
    if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
    }
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
}

bool WindowBase::ShownInFront(WindowBase* window, bool built) {
    if (!built) {
        delete window;
        return false;
    }
    window->ShowInFront();
    return true;
}

void WindowBase::ShowInFront() {
    const int own = WindowDpi(hwnd_);
    if (binder_ != nullptr && own != binder_->dpi()) {
        RECT frame;
        RECT client;
        GetWindowRect(hwnd_, &frame);
        GetClientRect(hwnd_, &client);
        const int built = binder_->dpi();
        frame.right += MulDiv(client.right, own, built) - client.right;
        frame.bottom += MulDiv(client.bottom, own, built) - client.bottom;
        TakeDpi(own, frame);
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

Binder& WindowBase::MakeBinder(HFONT font, int dpi, bool closes_on_escape) {
    binder_ = std::make_unique<Binder>(hwnd_, font, dpi);
    closes_on_escape_ = closes_on_escape;
    return *binder_;
}

void WindowBase::RescaleControls(HFONT& font, int dpi) {
    HFONT old_font = std::exchange(font, CreateMessageFont(dpi));
    binder_->Rescale(dpi, font);
    DeleteObject(old_font);
}

void WindowBase::DropBinder() {
    binder_.reset();
}

namespace {
constexpr UINT kCloseSoonMessage = WM_APP + 1;
}  // namespace

void WindowBase::CloseSoon() {
    PostMessageA(hwnd_, kCloseSoonMessage, 0, 0);
}

bool WindowBase::RouteToBinder(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kCloseSoonMessage) {
        DestroyWindow(hwnd_);
        return true;
    }
    if (message == WM_COMMAND && closes_on_escape_ && LOWORD(wparam) == IDCANCEL) {
        DestroyWindow(hwnd_);
        return true;
    }
    if (binder_ == nullptr) {
        return false;
    }
    if (message == WM_COMMAND && escape_button_ != 0 && LOWORD(wparam) == IDCANCEL) {
        HWND button = GetDlgItem(hwnd_, escape_button_);
        return binder_->OnCommand(MAKEWPARAM(escape_button_, BN_CLICKED),
                                  reinterpret_cast<LPARAM>(button));
    }
    if (message == WM_COMMAND) {
        return binder_->OnCommand(wparam, lparam);
    }
    return message == WM_TIMER && binder_->OnTimer(wparam);
}

void WindowBase::TakeDpi(int dpi, RECT suggested) {
    OnDpiChanged(dpi, suggested);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

BOOL CALLBACK PassColoursOn(HWND child, LPARAM) {
    SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

}  // namespace

int WindowBase::DefaultButton() const {
    HWND focus = GetFocus();
    if (focus != nullptr && GetParent(focus) == hwnd_ &&
        (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON) != 0) {
        return GetDlgCtrlID(focus);
    }
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) {
            return GetDlgCtrlID(child);
        }
    }
    return 0;
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == DM_GETDEFID) {
        int button = DefaultButton();
        return button != 0 ? MAKELRESULT(button, DC_HASDEFID) : 0;
    }
    if (message == WM_SETTINGCHANGE) {
        dark_title_ = FollowDarkTitleBar(hwnd_, dark_title_);
    } else if (message == WM_SYSCOLORCHANGE) {
        // Only top-level windows are told; common controls expect their parent to pass it on.
        EnumChildWindows(hwnd_, PassColoursOn, 0);
    }
    return DefWindowProcA(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK WindowBase::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr) {
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
    LRESULT result = 0;
    if (message == kDpiChangedMessage && self->HasBinder()) {
        self->TakeDpi(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
    } else if (!self->RouteToBinder(message, wparam, lparam)) {
        result = self->HandleMessage(message, wparam, lparam);
    }
    if (message == WM_SHOWWINDOW && wparam) {
        // The focus shows from the start, not only once a key was pressed in the window:
        // a keyboard user must see where Tab begins.
        SendMessageA(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        // Wakes a modal loop that waits in GetMessage for this window to go away.
        PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
        self->OnDestroyed();
    }
    return result;
}

namespace {

// Backspace in a window with an enabled Back button, the focus on no text box, presses it.
bool PressedBack(HWND active, const MSG& message) {
    if (active == nullptr || message.message != WM_KEYDOWN || message.wParam != VK_BACK) {
        return false;
    }
    HWND back = GetDlgItem(active, kBackButtonId);
    if (back == nullptr || !IsWindowEnabled(back)) {
        return false;
    }
    char focus_class[16] = "";
    GetClassNameA(GetFocus(), focus_class, sizeof focus_class);
    if (lstrcmpiA(focus_class, "Edit") == 0) {
        return false;
    }
    // As a click would, but leaving the focus where it is.
    SendMessageA(active, WM_COMMAND, MAKEWPARAM(kBackButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(back));
    return true;
}

}  // namespace

bool DispatchOneMessage(const MSG& message) {
    if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    HWND active = GetActiveWindow();
    if (PressedBack(active, message)) {
        return true;
    }
    if (active != nullptr && IsDialogMessageA(active, const_cast<MSG*>(&message))) {
        return true;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return true;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchOneMessage(message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace zv::win32
