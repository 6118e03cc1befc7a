// The launch targets both programs hand to Windows: the help page, the maker's web pages,
// the Control Panel applets and the two programs themselves. Every launch is
// fire-and-forget; only the program starts report the Windows error of a failed start, so
// that a caller may tell the user.
#pragma once

#include <string>

#include "common/windows_release.h"
#include "launch/launcher_port.h"

namespace zv::launch {

// The maker's web server; the pages below live on it.
inline constexpr const char* kMakerSite = "http://www.zorvane.com";
inline constexpr const char* kWebSitePath = "/index.php";
inline constexpr const char* kFeedbackPath = "/resources/feedback.php";

// Control Panel applets, started through Windows' own rundll32.exe.
inline constexpr const char* kInternetApplet =
    "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0";
inline constexpr const char* kModemApplet = "rundll32.exe shell32.dll,Control_RunDLL modem.cpl";
inline constexpr const char* kPhoneAndModemApplet =
    "rundll32.exe shell32.dll,Control_RunDLL telephon.cpl";
inline constexpr const char* kSystemApplet = "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl,,0";
inline constexpr const char* kNetworkApplet9x =
    "rundll32.exe shell32.dll,Control_RunDLL netcpl.cpl";
inline constexpr const char* kNetworkAppletNt = "rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl";

// The command of the release's network applet, or "" when it has none we know.
std::string NetworkAppletFor(WindowsRelease release);

// The command of the release's modem settings: "Phone and Modem Options" where the
// release has it, else the older modem applet.
std::string ModemAppletFor(WindowsRelease release);

// The launch commands, with the directory of the running program (no trailing backslash)
// for the files that live beside it. The pages and the companion go through `user_level`,
// the applets and the main program through `port`: an elevated main program passes a port
// that drops its rights there (see UserLevelLauncher); the companion passes one port twice.
class Launchers {
  public:
    Launchers(LauncherPort& port, std::string program_dir)
        : Launchers(port, port, std::move(program_dir)) {}
    Launchers(LauncherPort& port, LauncherPort& user_level, std::string program_dir)
        : port_(port), user_level_(user_level), program_dir_(std::move(program_dir)) {}

    void OpenHelpPage();
    void OpenWebSite();
    void OpenFeedbackPage();

    void LaunchInternetApplet();
    void LaunchModemApplet(WindowsRelease release);
    void LaunchSystemApplet();
    // Starts nothing for a release without a known network applet.
    void LaunchNetworkApplet(WindowsRelease release);

    // The program paths are quoted on the command line. The main program starts normal
    // with focus (from the companion); 0 or the Windows error.
    unsigned long StartMainProgram();
    // The companion, hidden (from the main program); 0 or the Windows error.
    unsigned long StartCompanion();

    std::string HelpPagePath() const { return program_dir_ + "\\Help\\help.htm"; }
    std::string MainProgramPath() const { return program_dir_ + "\\Zorvane.exe"; }
    std::string CompanionPath() const { return program_dir_ + "\\vigilo.exe"; }

  private:
    LauncherPort& port_;
    LauncherPort& user_level_;
    std::string program_dir_;
};

// Where a command line's program ends and its arguments begin. A program path in double
// quotes may hold blanks; an unquoted one ends at the first blank.
struct CommandParts {
    std::string program;  // without the quotes
    std::string arguments;
};
CommandParts SplitCommandLine(const std::string& command_line);

// A command line that names rundll32.exe without a folder, rewritten to start it from the
// system folder: a bare name would be looked up in the current and program folders first,
// where a planted copy would run in its place. Other command lines come back unchanged.
std::string WithSystemRundll(const std::string& command_line, const std::string& system_dir);

}  // namespace zv::launch
