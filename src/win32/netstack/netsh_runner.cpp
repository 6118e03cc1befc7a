#include "win32/netstack/netsh_runner.h"

#include <windows.h>

#include <algorithm>

#include "win32/netstack/bounded_call.h"
#include "win32/platform/run_command.h"

namespace zv::win32 {
namespace {

constexpr DWORD kNetshWaitMs = 60000;

// A word of letters, digits and "=" ("mtu=1400", "interface=12"): nothing that could split
// an argument in two, join two, or be read as another tag reaches the command line.
bool Acceptable(const std::string& argument) {
    return !argument.empty() && std::all_of(argument.begin(), argument.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '=';
    });
}

std::string NetshPath() {
    char folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return std::string(folder, length) + "\\netsh.exe";
}

}  // namespace

netstack::NetshRun Win32NetshPort::Run(const std::vector<std::string>& arguments) {
    std::string path = NetshPath();
    if (path.empty()) {
        return {};
    }
    std::string command_line = "\"" + path + "\"";
    for (const std::string& argument : arguments) {
        if (!Acceptable(argument)) {
            return {};
        }
        command_line += ' ' + argument;
    }
    StartedProcess process = StartProcess(command_line, SW_HIDE);
    if (process.handle == nullptr) {
        return {};
    }
    netstack::NetshRun run;
    run.started = true;
    if (!WaitKeepingWindowsAlive(process.handle, kNetshWaitMs)) {
        TerminateProcess(process.handle, 1);
        run.timed_out = true;
    } else {
        DWORD exit_code = 1;
        GetExitCodeProcess(process.handle, &exit_code);
        run.exit_code = exit_code;
    }
    CloseHandle(process.handle);
    return run;
}

}  // namespace zv::win32
