// The command line's switches: each does its work without a window and ends the program
// with an exit code (0 done, 1 refused, 2 bad arguments or a damaged file). A first word
// that starts with '/' or '-' and names no switch is refused with the usage; any other
// argument keeps its meaning (a number starts the companion, other text opens the window).
// A new switch is one more row of the table in tool_switches.cpp.
#pragma once

#include <optional>
#include <string>

#include "common/change_lock.h"
#include "common/file_system.h"
#include "common/folder_port.h"
#include "main_window/program_records.h"
#include "main_window/start_program.h"
#include "netstack/stack_ports.h"
#include "sysconfig/registry_port.h"
#include "sysconfig/tool_commands.h"

namespace zv::main_window {

struct ToolPorts {
    StartPorts& start;
    FileSystem& files;
    FolderPort& folders;
    RegistryPort& registry;
    // /check and /repair: WMI, IP Helper and netsh besides the registry.
    netstack::StackPorts& stack;
    // Held while a switch that runs alone does its work.
    ChangeLockPort* change_lock = nullptr;
};

// What a switch's work is given: the ports, the records with the Windows release filled
// in, and the switch's argument (empty for a switch that takes none).
struct SwitchRun {
    ToolPorts ports;
    ProgramRecords& records;
    std::string argument;
};

struct ToolSwitchRow {
    const char* word;      // as typed, case ignored: "/export"
    const char* argument;  // its name in the usage ("FILE"), or nullptr when it takes none
    // Runs only as the only copy of the program (a running window may be about to write),
    // and under the change lock.
    bool alone;
    CommandReport (*run)(SwitchRun& run);
};

struct ToolSwitch {
    // nullptr: a switch's word with arguments it does not take, or no switch's word
    const ToolSwitchRow* row;
    std::string argument;  // without quotes
};

// The switch the command line names (case ignored, blanks around allowed), a refusal for a
// word written as a switch that names none, or nothing.
std::optional<ToolSwitch> ParseToolSwitch(const std::string& command_line);

// "Usage: Zorvane.exe /undo | /export FILE", from the table.
std::string ToolSwitchUsage();

CommandReport RunToolSwitch(const ToolSwitch& tool, ToolPorts ports, ProgramRecords& records);

}  // namespace zv::main_window
