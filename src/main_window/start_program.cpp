#include "main_window/start_program.h"

#include <optional>

#include "common/numbers.h"

namespace zv::main_window {
namespace {

// The digits of an argument that is a whole number (blanks around and a sign allowed).
std::optional<std::string> DigitsOf(const std::string& argument) {
    std::string text = TrimBlanks(argument);
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.erase(0, 1);
    }
    if (!IsAllDigits(text)) {
        return std::nullopt;
    }
    return text;
}

}  // namespace

bool AsksOnlyForCompanion(const std::string& argument) {
    std::optional<std::string> digits = DigitsOf(argument);
    return digits && digits->find_first_not_of('0') != std::string::npos;
}

void DetectWindowsRelease(StartPorts& ports, ProgramRecords& records) {
    WindowsVersion windows = ports.DetectWindowsVersion();
    records.WindowsRelease = windows.release;
    records.WindowsName = windows.name;
    records.WindowsDetail = windows.detail;
}

// The companion's start only asks whether the window runs (it starts the companion itself)
// and never takes the lock: a start at logon must not keep /apply or an uninstall out.
StartOutcome StartProgram(StartPorts& ports, const std::string& argument, ProgramRecords& records) {
    const bool companion_only = AsksOnlyForCompanion(argument);
    if (companion_only ? ports.WriterRuns() : !ports.IsFirstCopy()) {
        return StartOutcome::EndSilently;
    }
    DetectWindowsRelease(ports, records);
    if (companion_only) {
        ports.StartCompanion();
        return StartOutcome::CompanionOnly;
    }
    // "0" asks for the normal window state; text that is no number counts as no argument.
    return DigitsOf(argument) ? StartOutcome::ShowMainWindowNormal : StartOutcome::ShowMainWindow;
}

}  // namespace zv::main_window
