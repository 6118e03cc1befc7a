// Launches that must not inherit the main program's administrator rights: the companion,
// the help page and the web pages. They go through the desktop shell, so they run at the
// user's level; where no desktop shell answers (Windows XP, which has no elevation, or a
// session without Explorer) they start as they always did, through the fallback port.
#pragma once

#include <string>

#include "launch/launcher_port.h"

namespace zv::launch {

class UserLevelLauncher : public LauncherPort {
  public:
    UserLevelLauncher(DesktopShellPort& desktop, LauncherPort& fallback)
        : desktop_(desktop), fallback_(fallback) {}

    void ShellOpen(const std::string& target, int show_mode) override;
    // 0 once the desktop shell took the start: it reports no failure of its own.
    unsigned long RunCommand(const std::string& command_line, int window_style) override;

  private:
    DesktopShellPort& desktop_;
    LauncherPort& fallback_;
};

}  // namespace zv::launch
