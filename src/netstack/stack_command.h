// Zorvane.exe /check and /repair, for a fleet's detection and remediation: the findings one
// a line, and the exit code a deployment tool acts on.
#pragma once

#include <string>

#include "netstack/stack_changes.h"
#include "sysconfig/tool_commands.h"

namespace zv::netstack {

// 0 and "No findings." when there are none; 1 and one line per finding ("the text - Fix:
// ..."). Rows Windows lacks are not findings.
CommandReport RunCheckCommand(StackPorts& ports, const StackMachine& machine);

// Some change was made only in part, or may have been made (netsh or WMI did not answer in
// time): each line says which, and /undo puts back what was made.
constexpr int kExitPartlyDone = 4;

// Every fix, with one snapshot first: 0 when all were done (or there was nothing to fix),
// 4 when any was done only in part or not known to be done, else 1 when any was refused or
// has no fix, each named with its reason.
CommandReport RunRepairCommand(StackPorts& ports, SnapshotPorts snapshots,
                               const std::string& program_directory, const StackMachine& machine);

}  // namespace zv::netstack
