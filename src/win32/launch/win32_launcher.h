// The launcher port on Windows: ShellExecuteA "open" for documents and addresses, and a
// process start for command lines, falling back to the shell for programs that ask to run
// elevated.
#pragma once

#include <windows.h>

#include "launch/launcher_port.h"
#include "win32/platform/system_library.h"

namespace zv::win32 {

class Win32Launcher : public launch::LauncherPort {
  public:
    // owner: the window that owns what the shell shows (may be null, and set later).
    explicit Win32Launcher(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    void ShellOpen(const std::string& target, int show_mode) override;
    unsigned long RunCommand(const std::string& command_line, int window_style) override;

  private:
    unsigned long ShellStart(const std::string& command_line, int window_style);

    HWND owner_;
    // The shell is loaded on the first launch rather than with the program: most runs
    // never open a document, and loading it costs start-up time.
    SystemLibrary shell32_{"shell32.dll"};
};

}  // namespace zv::win32
