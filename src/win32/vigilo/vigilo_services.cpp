#include "win32/vigilo/vigilo_services.h"

#include <windows.h>
#include <shellapi.h>

#include "win32/platform/run_command.h"

namespace zv::win32 {
namespace {

// ERROR_ELEVATION_REQUIRED, which MinGW's headers leave out.
constexpr unsigned long kElevationRequired = 740;

constexpr const char* kWebSite = "http://www.zorvane.com/index.php";
constexpr const char* kFeedbackPage = "http://www.zorvane.com/resources/feedback.php";

void Open(const std::string& target, int show_mode) {
    ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, show_mode);
}

}  // namespace

void Win32LaunchService::OpenHelpPage() {
    Open(program_dir_ + "\\Help\\help.htm", SW_SHOWNORMAL);
}
void Win32LaunchService::OpenWebSite() {
    Open(kWebSite, SW_SHOWNORMAL);
}
void Win32LaunchService::OpenFeedbackPage() {
    Open(kFeedbackPage, SW_SHOW);
}

// The path is quoted: unquoted, a folder with blanks ("Program Files") would make Windows
// try "C:\Program.exe" first.
unsigned long Win32LaunchService::StartMainProgram() {
    std::string path = MainProgramPath();
    unsigned long error = RunCommand("\"" + path + "\"", SW_SHOWNORMAL);
    if (error != kElevationRequired) {
        return error;
    }
    // A main program that asks for administrator rights cannot be started by
    // CreateProcess; the shell starts it and shows the consent prompt.
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.lpVerb = "open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&info) ? 0 : GetLastError();
}

}  // namespace zv::win32
