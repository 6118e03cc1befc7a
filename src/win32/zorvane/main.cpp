// Start of the main program: one running copy, the Windows release, and the start-up
// argument that makes the program only a launcher for the companion.
#include <windows.h>

#include <string>

#include "common/numbers.h"
#include "win32/platform/program_directory.h"
#include "win32/platform/run_command.h"
#include "win32/platform/single_instance.h"
#include "win32/platform/version_query.h"

namespace {

// A whole number other than 0 (an optional sign, then digits not all 0). Anything else,
// text included, starts the program as if no argument was given.
bool AsksOnlyForCompanion(const char* argument) {
    std::string text = zv::TrimBlanks(argument);
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.erase(0, 1);
    }
    return zv::IsAllDigits(text) && text.find_first_not_of('0') != std::string::npos;
}

void StartCompanionHidden() {
    // Quoted: the program folder usually holds a blank ("Program Files"), and unquoted
    // Windows would first try to start "C:\Program.exe".
    zv::win32::RunCommand("\"" + zv::win32::ProgramDirectory() + "\\vigilo.exe\"", SW_HIDE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
    zv::win32::SingleInstance single_copy("Zorvane.MainProgram");
    if (!single_copy.IsFirstCopy()) {
        return 0;
    }
    zv::WindowsVersion windows = zv::win32::DetectWindowsVersion();
    if (AsksOnlyForCompanion(command_line)) {
        StartCompanionHidden();
        return 0;
    }
    // The main window, which takes over `windows`, is not built yet.
    static_cast<void>(windows);
    return 0;
}
