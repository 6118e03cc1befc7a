#include "win32/platform/startup_show.h"

namespace zv::win32 {
namespace {

bool HidesOrMinimises(WORD show) {
    switch (show) {
        case SW_HIDE:
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
        case SW_FORCEMINIMIZE:
            return true;
        default:
            return false;
    }
}

}  // namespace

void ConsumeStartupShowInstruction(HWND hidden_window) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    if ((startup.dwFlags & STARTF_USESHOWWINDOW) != 0 && HidesOrMinimises(startup.wShowWindow)) {
        ShowWindow(hidden_window, SW_SHOWDEFAULT);
        ShowWindow(hidden_window, SW_HIDE);
    }
}

}  // namespace zv::win32
