// Starts a command line as a new process, not waited for.
#pragma once

#include <cstdint>
#include <string>

namespace zv::win32 {

// CreateProcessA with the window style (SW_HIDE, SW_SHOWMINIMIZED, ...) as the new
// program's first show command. Returns 0 on success, else the Windows error code; the
// caller's state (handles, current folder) is left as it was.
uint32_t RunCommand(const std::string& command_line, int window_style);

}  // namespace zv::win32
