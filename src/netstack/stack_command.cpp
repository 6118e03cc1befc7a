#include "netstack/stack_command.h"

#include "netstack/stack_checks.h"

namespace zv::netstack {
namespace {

constexpr char kNoStack[] =
    "This Windows has no modern TCP/IP stack: the classic values are what it reads. "
    "Nothing to check.";

std::string FindingLine(const Finding& finding) {
    return finding.text + (finding.fix.empty() ? " No fix: " : " Fix: ") + finding.fix_text;
}

}  // namespace

CommandReport RunCheckCommand(StackPorts& ports, const StackMachine& machine) {
    if (machine.Reach() == StackReach::None) {
        return {kExitDone, kNoStack};
    }
    std::vector<Finding> findings = CheckStack(ReadStackRows(ports, machine), machine);
    if (findings.empty()) {
        return {kExitDone, "No findings."};
    }
    std::string text;
    for (const Finding& finding : findings) {
        text += (text.empty() ? "" : "\r\n") + FindingLine(finding);
    }
    return {kExitRefused, text};
}

CommandReport RunRepairCommand(StackPorts& ports, SnapshotPorts snapshots,
                               const std::string& program_directory, const StackMachine& machine) {
    if (machine.Reach() == StackReach::None) {
        return {kExitDone, kNoStack};
    }
    std::vector<StackRow> rows = ReadStackRows(ports, machine);
    std::vector<Finding> findings = CheckStack(rows, machine);
    std::vector<ChangeOutcome> outcomes =
        ApplyChanges(ports, snapshots, program_directory, machine, rows, AllFixes(findings));
    std::string text;
    bool all_fixed = AllDone(outcomes);
    for (const ChangeOutcome& outcome : outcomes) {
        text += (text.empty() ? "" : "\r\n") + outcome.text;
    }
    for (const Finding& finding : findings) {
        if (finding.fix.empty()) {
            all_fixed = false;
            text += (text.empty() ? "" : "\r\n") + FindingLine(finding);
        }
    }
    int exit_code = AnyPartlyOrUnknown(outcomes) ? kExitPartlyDone
                    : all_fixed                  ? kExitDone
                                                 : kExitRefused;
    return {exit_code, text.empty() ? "Nothing to repair." : text};
}

}  // namespace zv::netstack
