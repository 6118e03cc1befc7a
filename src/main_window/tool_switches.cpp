#include "main_window/tool_switches.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "common/numbers.h"
#include "netstack/stack_command.h"
#include "sysconfig/settings_file.h"
#include "tuning/presets.h"

namespace zv::main_window {
namespace {

CommandReport Apply(SwitchRun& run) {
    return RunApplyCommand({run.ports.files, run.ports.folders, run.ports.registry},
                           run.records.ProgramDirectory, run.records.DefaultSettings,
                           run.records.WindowsRelease);
}

CommandReport Restore(SwitchRun& run) {
    // As the window's Restore makes it: of the connection type the saved choice shows.
    ProgramRecords& records = run.records;
    LoadSettings(run.ports.files, records.ProgramDirectory, records.DefaultSettings,
                 records.CurrentSettings);
    TuningSettings windows_defaults =
        WindowsDefaultsToRestore(records.DefaultSettings, records.CurrentSettings.ConnectionType);
    return RunRestoreCommand({run.ports.files, run.ports.folders, run.ports.registry},
                             run.records.ProgramDirectory, windows_defaults,
                             run.records.WindowsRelease);
}

CommandReport Usage(SwitchRun&) {
    return {kExitDone,
            ToolSwitchUsage() +
                "\r\nExit codes: 0 done, 1 refused (by the registry or a file), "
                "2 bad arguments, or no Zorvane.cfg or a damaged one. /check: 0 no "
                "findings, 1 findings; /repair: 0 all fixed, 1 some not fixed, 4 some made "
                "only in part or not known to be made; both: 2 a setting could not be read, "
                "3 only findings Group Policy sets."};
}

netstack::StackMachine MachineOf(const ProgramRecords& records) {
    return {records.WindowsRelease, records.WindowsDetail, records.Processors};
}

// Undo puts the stack's rows back too, so every switch that reaches snapshots gets them.
template <typename Command>
CommandReport WithSnapshots(SwitchRun& run, Command command) {
    netstack::StackMachine machine = MachineOf(run.records);
    netstack::StackUndo stack_undo(run.ports.stack, machine);
    return command(
        SnapshotPorts{run.ports.files, run.ports.folders, run.ports.registry, &stack_undo},
        machine);
}

CommandReport Undo(SwitchRun& run) {
    return WithSnapshots(run, [&](SnapshotPorts ports, const netstack::StackMachine&) {
        return RunUndoCommand(ports, run.records.ProgramDirectory);
    });
}

CommandReport UndoAll(SwitchRun& run) {
    return WithSnapshots(run, [&](SnapshotPorts ports, const netstack::StackMachine&) {
        return RunUndoAllCommand(ports, run.records.ProgramDirectory);
    });
}

CommandReport Check(SwitchRun& run) {
    return netstack::RunCheckCommand(run.ports.stack, MachineOf(run.records));
}

CommandReport Repair(SwitchRun& run) {
    return WithSnapshots(run, [&](SnapshotPorts ports, const netstack::StackMachine& machine) {
        return netstack::RunRepairCommand(run.ports.stack, ports, run.records.ProgramDirectory,
                                          machine);
    });
}

CommandReport Export(SwitchRun& run) {
    return RunExportCommand(run.ports.files, run.ports.registry, run.records.ProgramDirectory,
                            run.records.DefaultSettings, run.records.WindowsRelease, run.argument);
}

// In the order the usage lists them.
constexpr ToolSwitchRow kSwitches[] = {
    {"/apply", nullptr, true, Apply},      {"/restore", nullptr, true, Restore},
    {"/undo all", nullptr, true, UndoAll}, {"/undo", nullptr, true, Undo},
    {"/export", "FILE", true, Export},     {"/check", nullptr, false, Check},
    {"/repair", nullptr, true, Repair},    {"/?", nullptr, false, Usage},
};

bool StartsWithWord(const std::string& text, const std::string& word) {
    if (text.size() < word.size() || (text.size() > word.size() && !IsBlank(text[word.size()]))) {
        return false;
    }
    return std::equal(word.begin(), word.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

std::string Unquoted(std::string text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

// A switch that takes no argument is given none; one that takes an argument gets exactly
// one, quoted or not, which a quote inside would make two.
bool ArgumentFits(const ToolSwitchRow& row, const std::string& argument) {
    if (row.argument == nullptr) {
        return argument.empty();
    }
    return !argument.empty() && argument.find('"') == std::string::npos;
}

// A first word written as a switch ("/aply", "-apply", "/help") that no row names: a
// deployment tool that mistyped a switch must get an error, not a window that waits for a
// user. A negative number is not a switch: it still starts the companion.
bool LooksLikeASwitch(const std::string& text) {
    const std::string word(text.begin(), std::find_if(text.begin(), text.end(), IsBlank));
    if (word.empty() || (word[0] != '/' && word[0] != '-')) {
        return false;
    }
    return word[0] == '/' || !IsAllDigits(word.substr(1));
}

}  // namespace

std::optional<ToolSwitch> ParseToolSwitch(const std::string& command_line) {
    std::string text = TrimBlanks(command_line);
    for (const ToolSwitchRow& row : kSwitches) {
        if (StartsWithWord(text, row.word)) {
            std::string argument = Unquoted(TrimBlanks(text.substr(std::strlen(row.word))));
            return ToolSwitch{ArgumentFits(row, argument) ? &row : nullptr, argument};
        }
    }
    if (LooksLikeASwitch(text)) {
        return ToolSwitch{nullptr, ""};
    }
    return std::nullopt;
}

std::string ToolSwitchUsage() {
    std::string usage = "Usage: Zorvane.exe";
    for (const ToolSwitchRow& row : kSwitches) {
        usage += &row == std::begin(kSwitches) ? " " : " | ";
        usage += row.word;
        if (row.argument != nullptr) {
            usage += std::string(" ") + row.argument;
        }
    }
    return usage;
}

CommandReport RunToolSwitch(const ToolSwitch& tool, ToolPorts ports, ProgramRecords& records) {
    if (tool.row == nullptr) {
        return {kExitBadInput, ToolSwitchUsage()};
    }
    if (tool.row->alone && !ports.start.IsFirstCopy()) {
        return {kExitRefused, "Zorvane is running: close it and try again."};
    }
    HeldChangeLock lock(tool.row->alone ? ports.change_lock : nullptr);
    if (!lock.held()) {
        return {kExitRefused, kAnotherChangeRuns};
    }
    DetectWindowsRelease(ports.start, records);
    SwitchRun run{ports, records, tool.argument};
    return tool.row->run(run);
}

}  // namespace zv::main_window
