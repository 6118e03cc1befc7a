#include "support/screen.h"

#include <cstdio>

#include "support/check.h"
#include "support/files.h"
#include "support/sandbox_control.h"
#include "support/windows_on_screen.h"

namespace zv::e2e {
namespace {

// Screenshot names become file names on both sides of the sandbox.
std::string SafeName(const std::string& name) {
    std::string safe;
    for (char c : name) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '_' || c == '.';
        safe += plain ? c : '_';
    }
    return safe;
}

void PrintWindow(HWND window) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    RECT r;
    GetWindowRect(window, &r);
    std::printf("  window pid %lu class %s caption %s at (%ld,%ld)-(%ld,%ld)\n", process_id,
                Escape(WindowClass(window)).c_str(), Escape(WindowText(window)).c_str(), r.left,
                r.top, r.right, r.bottom);
    for (HWND child : ChildControls(window)) {
        std::printf("    control %s id %d%s text %s\n", Escape(WindowClass(child)).c_str(),
                    GetDlgCtrlID(child), IsWindowEnabled(child) ? "" : " (disabled)",
                    Escape(WindowText(child)).c_str());
    }
}

}  // namespace

bool RequestScreenshot(const std::string& name, DWORD timeout_ms) {
    return RequestFromSandbox(
        "shot-" + SafeName(EnvironmentVariable("ZV_RUN_NAME")) + "-" + SafeName(name), timeout_ms);
}

void PrintWindowsOnScreen() {
    std::printf("windows on screen:\n");
    for (HWND window : FindTopLevelWindows(WindowQuery{})) {
        PrintWindow(window);
    }
}

}  // namespace zv::e2e
