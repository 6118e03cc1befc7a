#include "win32/platform/run_command.h"

#include <vector>

namespace zv::win32 {

StartedProcess StartProcess(const std::string& command_line, int window_style) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(window_style);
    PROCESS_INFORMATION process = {};
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::vector<char> writable(command_line.begin(), command_line.end());
    writable.push_back('\0');
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return {nullptr, static_cast<uint32_t>(GetLastError())};
    }
    CloseHandle(process.hThread);
    return {process.hProcess, 0};
}

uint32_t RunCommand(const std::string& command_line, int window_style) {
    StartedProcess started = StartProcess(command_line, window_style);
    if (started.handle != nullptr) {
        CloseHandle(started.handle);
    }
    return started.error;
}

}  // namespace zv::win32
