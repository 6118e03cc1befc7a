// Starts Zorvane as a user's first start does and returns once it is on screen as the
// user sees it: its first window (the tip of the day, before the main window) shown and
// painted, and the companion it starts showing the connected picture in the tray. Every
// wait is for what it waits for, bounded generously, so a busy machine only takes longer.
// Zorvane is left running: the sandbox takes its screenshot when this program ends.
#include <windows.h>

#include <string>

#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "support/scenario_runner.h"
#include "support/windows_on_screen.h"
#include "support/tray_observer.h"

using namespace zv::e2e;

namespace {

constexpr DWORD kPatienceMs = 60000;

// The process's first visible top-level window.
HWND WaitForFirstWindow(DWORD process_id) {
    return WaitForWindow({process_id, "", "", true}, kPatienceMs);
}

bool ShowsConnected(const TrayObserver& tray) {
    int image = tray.CurrentImage();
    return image >= 1 && image <= 4;
}

// The words go to Zorvane.
bool StartsAsAUserSeesIt(const Arguments& words) {
    std::string arguments;
    for (const std::string& word : words) {
        arguments += (arguments.empty() ? "" : " ") + word;
    }
    // Not a ChildProcess: that would end Zorvane with this program.
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION zorvane{};
    std::string command = AppCommand("Zorvane.exe", arguments);
    if (!E2E_CHECK(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &zorvane))) {
        return true;
    }
    HWND first = WaitForFirstWindow(zorvane.dwProcessId);
    if (E2E_CHECK(first != nullptr)) {
        E2E_CHECK_EQ(WindowText(first), "Tip of the Day");
        // Painted once its queue is empty; the repaint makes sure of the whole window.
        WaitForInputIdle(zorvane.hProcess, kPatienceMs);
        RedrawWindow(first, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    TrayObserver tray(AppDirectory() + "\\vigilo.exe");
    E2E_CHECK(WaitUntil([&] { return ShowsConnected(tray); }, kPatienceMs));
    CloseHandle(zorvane.hThread);
    CloseHandle(zorvane.hProcess);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    return RunNamedScenario({{"", "[ZORVANE ARGUMENTS]", StartsAsAUserSeesIt}}, argc, argv);
}
