#include "win32/netstack/netsh_runner.h"

#include <windows.h>

#include "win32/platform/run_command.h"

namespace zv::win32 {
namespace {

constexpr DWORD kNetshWaitMs = 60000;

// A word, or a name quoted whole; no other quote may reach the command line, so that no
// argument can split into two.
bool Acceptable(const std::string& argument) {
    std::string inside = argument;
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
        inside = argument.substr(1, argument.size() - 2);
    }
    return !inside.empty() && inside.find('"') == std::string::npos &&
           (inside.size() != argument.size() || inside.find(' ') == std::string::npos);
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
    if (WaitForSingleObject(process.handle, kNetshWaitMs) != WAIT_OBJECT_0) {
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
