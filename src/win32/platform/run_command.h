// Starts a command line as a new process: the one place that builds the startup record and
// calls CreateProcessA, for starts that are waited for and starts that are not.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace zv::win32 {

// A started process: its handle (the caller closes it), or null and the Windows error code.
struct StartedProcess {
    HANDLE handle = nullptr;
    uint32_t error = 0;
};

// CreateProcessA with the window style (SW_HIDE, SW_SHOWMINIMIZED, ...) as the new
// program's first show command. The caller's state (handles, current folder) is left as
// it was.
StartedProcess StartProcess(const std::string& command_line, int window_style);

// StartProcess without waiting: 0 on success, else the Windows error code.
uint32_t RunCommand(const std::string& command_line, int window_style);

}  // namespace zv::win32
