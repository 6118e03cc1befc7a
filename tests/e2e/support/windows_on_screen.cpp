#include "support/windows_on_screen.h"

namespace zv::e2e {
namespace {

DWORD WINAPI RunFunction(void* body) {
    (*static_cast<const std::function<void()>*>(body))();
    return 0;
}

constexpr UINT kTextTimeoutMs = 2000;
constexpr DWORD_PTR kLongestText = 1 << 20;

std::string ToAnsi(const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string text(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size,
                        nullptr, nullptr);
    return text;
}

bool Matches(HWND window, const WindowQuery& query) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    return (query.process_id == 0 || process_id == query.process_id) &&
           (!query.visible_only || IsWindowVisible(window)) &&
           (query.class_name.empty() || WindowClass(window) == query.class_name) &&
           (query.caption.empty() || WindowText(window) == query.caption);
}

struct Search {
    const WindowQuery* query;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMatching(HWND window, LPARAM search_address) {
    auto* search = reinterpret_cast<Search*>(search_address);
    if (Matches(window, *search->query)) {
        search->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM children_address) {
    reinterpret_cast<std::vector<HWND>*>(children_address)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query) {
    Search search{&query, {}};
    EnumWindows(CollectMatching, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const WindowQuery& query, DWORD timeout_ms) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            auto windows = FindTopLevelWindows(query);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeout_ms);
    return found;
}

bool WaitForWindowGone(HWND window, DWORD timeout_ms) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout_ms);
}

// WM_GETTEXT is marshalled between processes, and unlike GetWindowText it returns an edit
// control's current text; the timeout keeps a hung program from hanging the driver.
std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs,
                             &length)) {
        return std::string();
    }
    // The program may change the text between the two messages: a read that fills all the
    // room may have been cut short, so it is asked again with more.
    for (DWORD_PTR room = length + 64; room <= kLongestText; room *= 4) {
        std::wstring text(room, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(window, WM_GETTEXT, room, reinterpret_cast<LPARAM>(&text[0]),
                                 SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied)) {
            return std::string();
        }
        if (copied + 1 < room) {
            text.resize(copied);
            return ToAnsi(text);
        }
    }
    return std::string();
}

std::string WindowClass(HWND window) {
    wchar_t name[256];
    int length = GetClassNameW(window, name, 256);
    return ToAnsi(std::wstring(name, length > 0 ? length : 0));
}

HWND FindControl(HWND parent, int control_id) {
    return GetDlgItem(parent, control_id);
}

HWND MakeOwnerWindow() {
    return CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

bool RunModalWithHelper(const std::function<void()>& modal, const std::function<void()>& helper) {
    HANDLE thread = CreateThread(nullptr, 0, RunFunction,
                                 const_cast<std::function<void()>*>(&helper), 0, nullptr);
    modal();
    if (thread != nullptr) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    return thread != nullptr;
}

void PostClick(HWND window, int control_id) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(control_id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(FindControl(window, control_id)));
}

void MouseClickAt(POINT point, bool right) {
    SetCursorPos(point.x, point.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

std::vector<HWND> ChildControls(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

}  // namespace zv::e2e
