#include "launch/launchers.h"

#include <algorithm>
#include <cctype>

namespace zv::launch {
namespace {

// The program folder usually holds a blank ("Program Files"); unquoted, Windows would try
// "C:\Program.exe" first.
std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

}  // namespace

std::string NetworkAppletFor(WindowsRelease release) {
    switch (PropertiesOf(release).network_applet) {
        case NetworkApplet::Netcpl:
            return kNetworkApplet9x;
        case NetworkApplet::Ncpa:
            return kNetworkAppletNt;
        case NetworkApplet::None:
            break;
    }
    return "";
}

std::string ModemAppletFor(WindowsRelease release) {
    return PropertiesOf(release).modem_applet == ModemApplet::PhoneAndModemOptions
               ? kPhoneAndModemApplet
               : kModemApplet;
}

void Launchers::OpenHelpPage() {
    user_level_.ShellOpen(HelpPagePath(), kNormalFocus);
}

void Launchers::OpenWebSite() {
    user_level_.ShellOpen(std::string(kMakerSite) + kWebSitePath, kNormalFocus);
}

void Launchers::OpenFeedbackPage() {
    user_level_.ShellOpen(std::string(kMakerSite) + kFeedbackPath, kShown);
}

void Launchers::LaunchInternetApplet() {
    port_.RunCommand(kInternetApplet, kShown);
}

void Launchers::LaunchModemApplet(WindowsRelease release) {
    port_.RunCommand(ModemAppletFor(release), kShown);
}

void Launchers::LaunchSystemApplet() {
    port_.RunCommand(kSystemApplet, kShown);
}

void Launchers::LaunchNetworkApplet(WindowsRelease release) {
    std::string command = NetworkAppletFor(release);
    if (!command.empty()) {
        port_.RunCommand(command, kShown);
    }
}

unsigned long Launchers::StartMainProgram() {
    return port_.RunCommand(Quoted(MainProgramPath()), kNormalFocus);
}

unsigned long Launchers::StartCompanion() {
    return user_level_.RunCommand(Quoted(CompanionPath()), kHidden);
}

CommandParts SplitCommandLine(const std::string& command_line) {
    CommandParts parts;
    size_t rest = 0;
    if (!command_line.empty() && command_line[0] == '"') {
        size_t close = command_line.find('"', 1);
        if (close == std::string::npos) {
            parts.program = command_line.substr(1);
            return parts;
        }
        parts.program = command_line.substr(1, close - 1);
        rest = close + 1;
    } else {
        rest = std::min(command_line.find(' '), command_line.size());
        parts.program = command_line.substr(0, rest);
    }
    size_t arguments = command_line.find_first_not_of(' ', rest);
    if (arguments != std::string::npos) {
        parts.arguments = command_line.substr(arguments);
    }
    return parts;
}

namespace {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::string WithSystemRundll(const std::string& command_line, const std::string& system_dir) {
    CommandParts parts = SplitCommandLine(command_line);
    if (!EqualsIgnoringCase(parts.program, "rundll32.exe") || system_dir.empty()) {
        return command_line;
    }
    std::string folder = system_dir;
    if (folder.back() == '\\') {
        folder.pop_back();
    }
    std::string rewritten = "\"" + folder + "\\rundll32.exe\"";
    if (!parts.arguments.empty()) {
        rewritten += " " + parts.arguments;
    }
    return rewritten;
}

}  // namespace zv::launch
