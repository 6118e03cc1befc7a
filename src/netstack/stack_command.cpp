#include "netstack/stack_command.h"

#include "netstack/stack_checks.h"

namespace zv::netstack {
namespace {

using S = StackSetting;

constexpr char kNoStack[] =
    "This Windows has no modern TCP/IP stack: the classic values are what it reads. "
    "Nothing to check.";

std::string FindingLine(const Finding& finding) {
    return finding.text + (finding.fix.empty() ? " No fix: " : " Fix: ") + finding.fix_text;
}

// Whether CheckStack looks at the row's setting on this machine: a row it looks at that
// could not be read may hide a finding.
bool ChecksRead(StackSetting setting, const StackMachine& machine) {
    switch (setting) {
        case S::AutoTuningLocal:
        case S::AutoTuningGroupPolicy:
        case S::AutoTuningEffective:
        case S::Ipv4Mtu:
        case S::Ipv6Mtu:
        case S::MisplacedTcpAckFrequency:
        case S::MisplacedTcpNoDelay:
        case S::ClassicReceiveWindow:
            return true;
        case S::CongestionProvider:
            return machine.Bbr2LoopbackHang();
        case S::ReceiveSideScaling:
            return machine.processors > 1;
        default:
            return false;
    }
}

// One line for each row the checks depend on that a failed or timed-out query left unread.
std::vector<std::string> UnreadLines(const std::vector<StackRow>& rows,
                                     const StackMachine& machine) {
    std::vector<std::string> lines;
    for (const StackRow& row : rows) {
        if (row.state == RowState::Failed && ChecksRead(row.id.setting, machine)) {
            lines.push_back(row.label + " could not be read (" + row.where +
                            "): whether it is harmful is not known.");
        }
    }
    return lines;
}

void AddLine(std::string& text, const std::string& line) {
    text += (text.empty() ? "" : "\r\n") + line;
}

// What is left for the verdict once the fixes are made or listed: a machine not wholly
// read comes first, as a finding may hide in what could not be read; then a finding only
// Group Policy can change, which no run of /repair will ever fix.
int VerdictOf(bool unread, bool partly_or_unknown, bool open_findings, bool set_by_policy) {
    if (unread) {
        return kExitNotRead;
    }
    if (partly_or_unknown) {
        return kExitPartlyDone;
    }
    if (open_findings) {
        return kExitRefused;
    }
    return set_by_policy ? kExitSetByGroupPolicy : kExitDone;
}

}  // namespace

CommandReport RunCheckCommand(StackPorts& ports, const StackMachine& machine) {
    if (machine.Reach() == StackReach::None) {
        return {kExitDone, kNoStack};
    }
    std::vector<StackRow> rows = ReadStackRows(ports, machine);
    std::vector<std::string> unread = UnreadLines(rows, machine);
    std::string text;
    bool fixable = false;
    bool set_by_policy = false;
    for (const Finding& finding : CheckStack(rows, machine)) {
        (finding.fix.empty() ? set_by_policy : fixable) = true;
        AddLine(text, FindingLine(finding));
    }
    for (const std::string& line : unread) {
        AddLine(text, line);
    }
    return {VerdictOf(!unread.empty(), false, fixable, set_by_policy),
            text.empty() ? "No findings." : text};
}

CommandReport RunRepairCommand(StackPorts& ports, SnapshotPorts snapshots,
                               const std::string& program_directory, const StackMachine& machine) {
    if (machine.Reach() == StackReach::None) {
        return {kExitDone, kNoStack};
    }
    std::vector<StackRow> rows = ReadStackRows(ports, machine);
    std::vector<std::string> unread = UnreadLines(rows, machine);
    std::vector<Finding> findings = CheckStack(rows, machine);
    std::vector<ChangeOutcome> outcomes =
        ApplyChanges(ports, snapshots, program_directory, machine, rows, AllFixes(findings));
    std::string text;
    for (const ChangeOutcome& outcome : outcomes) {
        AddLine(text, outcome.text);
    }
    bool set_by_policy = false;
    for (const Finding& finding : findings) {
        if (finding.fix.empty()) {
            set_by_policy = true;
            AddLine(text, FindingLine(finding));
        }
    }
    for (const std::string& line : unread) {
        AddLine(text, line);
    }
    return {
        VerdictOf(!unread.empty(), AnyPartlyOrUnknown(outcomes), !AllDone(outcomes), set_by_policy),
        text.empty() ? "Nothing to repair." : text};
}

}  // namespace zv::netstack
