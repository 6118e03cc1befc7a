// The desktop shell port on Windows: the Explorer that shows the desktop, reached through
// COM (the shell windows list, the desktop's view, its IShellDispatch2::ShellExecute). It
// is the documented way for an elevated program to start something at the user's level.
// COM is loaded on first use, from the system folder, so a program that never launches
// pays nothing for it at start.
#pragma once

#include <string>

#include "launch/launcher_port.h"
#include "win32/platform/system_library.h"

namespace zv::win32 {

class DesktopShell : public launch::DesktopShellPort {
  public:
    bool Open(const std::string& file, const std::string& arguments, int show_mode) override;

  private:
    SystemLibrary ole32_{"ole32.dll"};
    SystemLibrary oleaut32_{"oleaut32.dll"};
};

}  // namespace zv::win32
