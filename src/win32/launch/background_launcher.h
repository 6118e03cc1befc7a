// Launches handed to a thread of their own, so that the window never waits for them. Reaching
// the desktop shell means COM and a call into Explorer, and a document's handler may be slow
// to take it; on the window's thread either would hold up the start of the main window (which
// starts the companion while it loads) or any click that opens a page.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "launch/launcher_port.h"

namespace zv::win32 {

class BackgroundLauncher : public launch::LauncherPort {
  public:
    // target: the launcher that does the work; only the launch threads use it, one at a time.
    explicit BackgroundLauncher(launch::LauncherPort& target);
    // Waits for the launches handed over, so that none is lost when the program ends, but
    // only for kExitWaitMs: a launch that takes longer ends the process instead.
    ~BackgroundLauncher() override;
    static constexpr DWORD kExitWaitMs = 5000;
    BackgroundLauncher(const BackgroundLauncher&) = delete;
    BackgroundLauncher& operator=(const BackgroundLauncher&) = delete;

    void ShellOpen(const std::string& target, int show_mode) override;
    // Always 0: the start happens later, and its failure is not seen here.
    unsigned long RunCommand(const std::string& command_line, int window_style) override;

  private:
    void Hand(bool is_command, const std::string& target, int show);
    void Launch(bool is_command, const std::string& target, int show);
    void ForgetFinished();
    bool LaunchesEndWithin(DWORD timeout_ms);

    launch::LauncherPort& target_;
    CRITICAL_SECTION one_at_a_time_;
    std::vector<HANDLE> threads_;
};

}  // namespace zv::win32
