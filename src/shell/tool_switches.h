// The command line's switches of the Tools menu: "/undo" and "/export FILE" do their work
// without a window and end the program with an exit code. Any other argument keeps its
// meaning (a number starts the companion, other text opens the window).
#pragma once

#include <optional>
#include <string>

#include "common/file_system.h"
#include "common/folder_port.h"
#include "shell/program_records.h"
#include "shell/start_program.h"
#include "sysconfig/registry_port.h"
#include "sysconfig/tool_commands.h"

namespace zv::shell {

struct ToolSwitch {
    enum class Kind { Undo, Export, BadArguments };
    Kind kind;
    std::string file;  // the export's, without quotes
};

// The switch the command line names (case ignored, blanks around allowed), or nothing.
std::optional<ToolSwitch> ParseToolSwitch(const std::string& command_line);

struct ToolPorts {
    StartPorts& start;
    FileSystem& files;
    FolderPort& folders;
    RegistryPort& registry;
};

// Runs the switch as the only copy of the program, with the Windows release filled into
// the records; a running copy (its window may be about to write) is a refusal.
CommandReport RunToolSwitch(const ToolSwitch& tool, ToolPorts ports, ProgramRecords& records);

}  // namespace zv::shell
