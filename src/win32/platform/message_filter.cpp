#include "win32/platform/message_filter.h"

#include "win32/platform/system_library.h"

namespace zv::win32 {
namespace {

constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW of the window filter, MSGFLT_ADD of the process's

}  // namespace

bool AllowFromLowerLevels(HWND window, UINT message) {
    using WindowFilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using ProcessFilterFn = BOOL(WINAPI*)(UINT, DWORD);
    if (auto window_filter =
            LoadedSystemFunction<WindowFilterFn>("user32.dll", "ChangeWindowMessageFilterEx")) {
        return window_filter(window, message, kAllow, nullptr) != FALSE;
    }
    if (auto process_filter =
            LoadedSystemFunction<ProcessFilterFn>("user32.dll", "ChangeWindowMessageFilter")) {
        return process_filter(message, kAllow) != FALSE;
    }
    return true;
}

}  // namespace zv::win32
