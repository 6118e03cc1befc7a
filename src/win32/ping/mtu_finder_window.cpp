#include "win32/ping/mtu_finder_window.h"

#include <commctrl.h>

#include "win32/ui/layout.h"
#include "win32/ping/mtu_finder_ids.h"

namespace zv::win32 {

namespace {

// Posted by the controller's unload, so the window goes away only after the click that
// asked for it has finished running.
constexpr UINT kUnloadMessage = WM_APP + 1;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

}  // namespace

int MtuFinderWindow::ShowModal(HWND owner, const std::string& host) {
    MtuFinderWindow window(host);
    if (!window.Build(owner)) {
        return 0;
    }
    window.RunModal(owner);
    return window.dialog_.chosen_mtu();
}

MtuFinderWindow::MtuFinderWindow(const std::string& host) : dialog_(search_, host) {
    dialog_.on_unload = [this] { PostMessageA(hwnd(), kUnloadMessage, 0, 0); };
    dialog_.show_progress = [this](int echoes) {
        SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(echoes), 0);
    };
}

MtuFinderWindow::~MtuFinderWindow() {
    if (hwnd() != nullptr) {
        DestroyWindow(hwnd());
    }
    binder_.reset();
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

// Created in tab order: the host, Find, then the buttons below.
bool MtuFinderWindow::Build(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    int dpi = ScreenDpi();
    if (!Create(frm_mtu::kClassName, dialog_.window.caption().c_str(), kStyle, kExStyle,
                TwipsToPixels(ping::kMtuDialogWidth, dpi),
                TwipsToPixels(ping::kMtuDialogHeight, dpi), owner)) {
        return false;
    }
    search_.ReportTo(hwnd());
    font_ = CreateMessageFont();
    binder_ = std::make_unique<Binder>(hwnd(), font_, dpi);
    namespace id = frm_mtu;
    binder_->BindWindow(dialog_.window);
    binder_->AddLabel(dialog_.lblExplain, id::lblExplain);
    binder_->AddLabel(dialog_.lblHost, id::lblHost);
    binder_->AddTextBox(dialog_.txtHost, id::txtHost);
    binder_->AddButton(dialog_.cmdFind, id::cmdFind, BS_DEFPUSHBUTTON);
    RECT bar = binder_->TwipsToRect(ping::kMtuProgressBounds);
    progress_ =
        CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, bar.left, bar.top,
                        bar.right - bar.left, bar.bottom - bar.top, hwnd(),
                        reinterpret_cast<HMENU>(id::prgSearch), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(progress_, PBM_SETRANGE, 0, MAKELPARAM(0, ping::kMaxMtuEchoes));
    binder_->AddLabel(dialog_.lblStatus, id::lblStatus);
    binder_->AddButton(dialog_.cmdUse, id::cmdUse);
    binder_->AddButton(dialog_.cmdCancel, id::cmdCancel);
    return true;
}

LRESULT MtuFinderWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            if (binder_ != nullptr && binder_->OnCommand(wparam, lparam)) {
                return 0;
            }
            break;
        case WM_CLOSE:
            dialog_.Close();
            return 0;
        case kMtuEchoMessage:
            dialog_.OnEcho(static_cast<int>(wparam), static_cast<int>(lparam));
            return 0;
        case kMtuDoneMessage:
            dialog_.OnFinished(search_.TakeResult());
            return 0;
        case kUnloadMessage:
            DestroyWindow(hwnd());
            return 0;
        default:
            break;
    }
    return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace zv::win32
