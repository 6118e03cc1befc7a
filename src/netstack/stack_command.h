// Zorvane.exe /check and /repair, for a fleet's detection and remediation: the findings one
// a line, and the exit code a deployment tool acts on.
#pragma once

#include <string>

#include "netstack/stack_changes.h"
#include "sysconfig/tool_commands.h"

namespace zv::netstack {

// A setting the checks depend on could not be read (WMI broken, a query past its bound):
// the machine is not passed, whatever was found in the rest.
constexpr int kExitNotRead = kExitBadInput;
// All that is left are findings Group Policy sets: named, and no fix of Zorvane's can
// change them, so they are told apart from a fix that failed.
constexpr int kExitSetByGroupPolicy = 3;

// 0 and "No findings." when there are none; else one line per finding ("the text - Fix:
// ...") and per row that could not be read, with 2 when a row could not be read, else 1
// when a finding has a fix, else 3 (Group Policy's findings only). Rows Windows lacks are
// not findings.
CommandReport RunCheckCommand(StackPorts& ports, const StackMachine& machine);

// Some change was made only in part, or may have been made (netsh or WMI did not answer in
// time): each line says which, and /undo puts back what was made.
constexpr int kExitPartlyDone = 4;

// Every fix, with one snapshot first, then each finding without one and each row that
// could not be read, named: 2 when a row could not be read, else 4 when a fix was made only
// in part or is not known to be made, else 1 when a fix was refused, else 3 when Group
// Policy's findings remain, else 0 (all fixed, or nothing to fix).
CommandReport RunRepairCommand(StackPorts& ports, SnapshotPorts snapshots,
                               const std::string& program_directory, const StackMachine& machine);

}  // namespace zv::netstack
