#include "win32/launch/win32_launcher.h"

#include <shellapi.h>

#include "launch/launchers.h"
#include "win32/platform/run_command.h"
#include "win32/platform/system_folders.h"

namespace zv::win32 {
namespace {

// ERROR_ELEVATION_REQUIRED; older SDK headers lack the name.
constexpr unsigned long kElevationRequired = 740;

}  // namespace

void Win32Launcher::ShellOpen(const std::string& target, int show_mode) {
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    if (auto shell_execute = shell32_.Function<ShellExecuteFn>("ShellExecuteA")) {
        shell_execute(owner_, "open", target.c_str(), nullptr, nullptr, show_mode);
    }
}

unsigned long Win32Launcher::RunCommand(const std::string& command_line, int window_style) {
    std::string resolved = launch::WithSystemRundll(command_line, SystemFolder());
    unsigned long error = win32::RunCommand(resolved, window_style);
    if (error == kElevationRequired) {
        // A program whose manifest asks for administrator rights cannot be started by
        // CreateProcess; the shell can, after the consent prompt.
        error = ShellStart(resolved, window_style);
    }
    return error;
}

unsigned long Win32Launcher::ShellStart(const std::string& command_line, int window_style) {
    launch::CommandParts parts = launch::SplitCommandLine(command_line);
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner_;
    info.lpVerb = "open";
    info.lpFile = parts.program.c_str();
    info.lpParameters = parts.arguments.empty() ? nullptr : parts.arguments.c_str();
    info.nShow = window_style;
    using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
    auto shell_execute_ex = shell32_.Function<ShellExecuteExFn>("ShellExecuteExA");
    if (shell_execute_ex == nullptr) {
        return ERROR_PROC_NOT_FOUND;
    }
    return shell_execute_ex(&info) ? 0 : GetLastError();
}

}  // namespace zv::win32
