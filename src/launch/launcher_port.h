// Handing commands to Windows: open a document or address with the shell, or start a
// command line as a new process. Both are fire-and-forget for the caller.
#pragma once

#include <string>

namespace zv::launch {

// Window styles of a started process (the values of ShowWindow's commands).
enum WindowStyle : int {
    kHidden = 0,
    kNormalFocus = 1,
    kShown = 5,
};

class LauncherPort {
  public:
    virtual ~LauncherPort() = default;

    // ShellExecute "open" of the target with the given show mode, owned by the caller's
    // window. The result is not examined.
    virtual void ShellOpen(const std::string& target, int show_mode) = 0;

    // Starts the command line as a new process and returns at once: 0 on success,
    // otherwise the Windows error code of the failed start.
    virtual unsigned long RunCommand(const std::string& command_line, int window_style) = 0;
};

// The desktop's own shell (the Explorer that shows the desktop) asked to open a document or
// start a program for us: what it starts runs as the logged-on user at the user's level,
// even when the program that asks runs elevated.
class DesktopShellPort {
  public:
    virtual ~DesktopShellPort() = default;

    // "open" of the file with the arguments and show mode; returns at once. True when a
    // desktop shell took the request, false when none answered.
    virtual bool Open(const std::string& file, const std::string& arguments, int show_mode) = 0;
};

}  // namespace zv::launch
