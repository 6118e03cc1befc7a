// The launch targets: exact command lines and show modes, the network applet per Windows
// release, and the rewrite that starts rundll32.exe from the system folder.
#include <gtest/gtest.h>

#include <array>

#include "fakes/recording_launcher.h"
#include "launch/launchers.h"
#include "launch/user_level_launcher.h"

namespace zv::launch {
namespace {

using testing::Launch;

TEST(LaunchersTest, EachTargetHasItsCommandLineAndShowMode) {
    testing::RecordingLauncher port;
    Launchers launchers(port, "C:\\Program Files\\Zorvane");
    launchers.OpenHelpPage();
    launchers.OpenWebSite();
    launchers.OpenFeedbackPage();
    launchers.StartMainProgram();
    launchers.StartCompanion();
    launchers.LaunchInternetApplet();
    launchers.LaunchSystemApplet();
    std::vector<Launch> expected = {
        {"open", "C:\\Program Files\\Zorvane\\Help\\help.htm", 1},
        {"open", "http://www.zorvane.com/index.php", 1},
        {"open", "http://www.zorvane.com/resources/feedback.php", 5},
        {"run", "\"C:\\Program Files\\Zorvane\\Zorvane.exe\"", 1},
        {"run", "\"C:\\Program Files\\Zorvane\\vigilo.exe\"", 0},
        {"run", "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0", 5},
        {"run", "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl,,0", 5},
    };
    EXPECT_EQ(port.launches, expected);

    port.run_result = 2;  // file not found: the failed start is reported
    EXPECT_EQ(launchers.StartCompanion(), 2u);
    EXPECT_EQ(launchers.StartMainProgram(), 2u);
}

TEST(LaunchersTest, NetworkAndModemAppletsFollowTheWindowsRelease) {
    const std::string rundll = "rundll32.exe shell32.dll,Control_RunDLL ";
    struct Case {
        WindowsRelease release;
        std::string network;  // "" when nothing starts
        std::string modem;
    };
    const Case cases[] = {
        {WindowsRelease::Unrecognised, "", "modem.cpl"},
        {WindowsRelease::Win32s, "netcpl.cpl", "modem.cpl"},
        {WindowsRelease::WindowsMe, "netcpl.cpl", "modem.cpl"},
        {WindowsRelease::WindowsNt4, "ncpa.cpl", "modem.cpl"},
        {WindowsRelease::Windows2000, "ncpa.cpl", "telephon.cpl"},
        {WindowsRelease::Windows2003, "ncpa.cpl", "telephon.cpl"},
        {WindowsRelease::Vista, "ncpa.cpl", "telephon.cpl"},
    };
    for (const Case& c : cases) {
        testing::RecordingLauncher port;
        Launchers launchers(port, "C:\\Z");
        launchers.LaunchNetworkApplet(c.release);
        launchers.LaunchModemApplet(c.release);
        std::vector<Launch> expected;
        if (!c.network.empty()) {
            expected.push_back({"run", rundll + c.network, 5});
        }
        expected.push_back({"run", rundll + c.modem, 5});
        EXPECT_EQ(port.launches, expected) << "case " << (&c - cases);
    }
}

// An elevated main program hands the pages and the companion to the port that drops its
// rights; the applets and the main program itself keep the rights they are started with.
TEST(LaunchersTest, PagesAndCompanionGoThroughTheUserLevelPort) {
    testing::RecordingLauncher port;
    testing::RecordingLauncher user_level;
    Launchers launchers(port, user_level, "C:\\Z");
    launchers.OpenHelpPage();
    launchers.OpenWebSite();
    launchers.OpenFeedbackPage();
    launchers.StartCompanion();
    launchers.LaunchSystemApplet();
    launchers.StartMainProgram();
    EXPECT_EQ(user_level.launches.size(), 4u);
    std::vector<Launch> elevated = {
        {"run", "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl,,0", 5},
        {"run", "\"C:\\Z\\Zorvane.exe\"", 1},
    };
    EXPECT_EQ(port.launches, elevated);
}

class FakeDesktopShell : public DesktopShellPort {
  public:
    bool answers = true;
    std::vector<std::string> requests;  // "file|arguments|show"
    bool Open(const std::string& file, const std::string& arguments, int show_mode) override {
        requests.push_back(file + "|" + arguments + "|" + std::to_string(show_mode));
        return answers;
    }
};

TEST(UserLevelLauncherTest, TheDesktopShellStartsWhenItAnswersElseTheFallback) {
    struct Case {
        const char* context;
        bool desktop_answers;
        std::vector<std::string> desktop_requests;
        std::vector<Launch> fallback_launches;
        unsigned long run_result;
    };
    const Case cases[] = {
        {"desktop shell answers",
         true,
         {"C:\\Z\\Help\\help.htm||1", "C:\\Program Files\\Z\\vigilo.exe|1|0"},
         {},
         0},
        {"no desktop shell (XP, Wine)",
         false,
         {"C:\\Z\\Help\\help.htm||1", "C:\\Program Files\\Z\\vigilo.exe|1|0"},
         {{"open", "C:\\Z\\Help\\help.htm", 1},
          {"run", "\"C:\\Program Files\\Z\\vigilo.exe\" 1", 0}},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.context);
        FakeDesktopShell desktop;
        desktop.answers = c.desktop_answers;
        testing::RecordingLauncher fallback;
        fallback.run_result = 2;
        UserLevelLauncher launcher(desktop, fallback);
        launcher.ShellOpen("C:\\Z\\Help\\help.htm", 1);
        EXPECT_EQ(launcher.RunCommand("\"C:\\Program Files\\Z\\vigilo.exe\" 1", 0), c.run_result);
        EXPECT_EQ(desktop.requests, c.desktop_requests);
        EXPECT_EQ(fallback.launches, c.fallback_launches);
    }
}

TEST(CommandLineTest, SplitsQuotedAndPlainPrograms) {
    // {command line, program, arguments}; an unquoted path with blanks ends at the first
    // blank, as Windows reads it.
    const std::array<const char*, 3> cases[] = {
        {"regedit /E \"C:\\my backup.reg\"", "regedit", "/E \"C:\\my backup.reg\""},
        {"\"C:\\Program Files\\Zorvane\\Zorvane.exe\"  -x",
         "C:\\Program Files\\Zorvane\\Zorvane.exe", "-x"},
        {"C:\\Program Files\\Zorvane\\vigilo.exe", "C:\\Program", "Files\\Zorvane\\vigilo.exe"},
        {"\"C:\\a b.exe", "C:\\a b.exe", ""},
    };
    for (const auto& [line, program, arguments] : cases) {
        auto split = SplitCommandLine(line);
        EXPECT_EQ(split.program, program) << line;
        EXPECT_EQ(split.arguments, arguments) << line;
    }
}

TEST(CommandLineTest, BareRundllStartsFromTheSystemFolder) {
    EXPECT_EQ(WithSystemRundll("rundll32.exe shell32.dll,Control_RunDLL modem.cpl",
                               "C:\\WINDOWS\\system32"),
              "\"C:\\WINDOWS\\system32\\rundll32.exe\" shell32.dll,Control_RunDLL modem.cpl");
    EXPECT_EQ(WithSystemRundll("RUNDLL32.EXE x", "C:\\WINDOWS\\SYSTEM\\"),
              "\"C:\\WINDOWS\\SYSTEM\\rundll32.exe\" x");
    // Anything else, or a rundll32 with its own folder, stays as it is.
    EXPECT_EQ(WithSystemRundll("C:\\Z\\vigilo.exe", "C:\\W"), "C:\\Z\\vigilo.exe");
    EXPECT_EQ(WithSystemRundll("C:\\evil\\rundll32.exe x", "C:\\W"), "C:\\evil\\rundll32.exe x");
    EXPECT_EQ(WithSystemRundll("rundll32.exe x", ""), "rundll32.exe x");
}

}  // namespace
}  // namespace zv::launch
