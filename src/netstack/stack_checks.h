// The harmful states tweak scripts and tuning tools leave the stack in, each found from the
// rows with the reason in one sentence and the changes that fix it. What each finds, and
// its thresholds, stand in the table of stack_settings.h.
#pragma once

#include <string>
#include <vector>

#include "netstack/stack_catalogue.h"
#include "netstack/stack_changes.h"

namespace zv::netstack {

struct Finding {
    FindingKind kind;
    RowId row;         // the row it is about (the first, where it is about several)
    std::string text;  // one line: "Receive window auto-tuning is disabled: ..."
    // What Fix does; empty when Zorvane offers none (Group Policy sets the value).
    std::vector<RowChange> fix;
    std::string fix_text;  // "Set it to Normal"; why there is none when `fix` is empty
};

// Whether a check reads the setting on this machine (its row's threshold says): a row it
// reads that could not be read may hide a finding.
bool ChecksRead(StackSetting setting, const StackMachine& machine);

std::vector<Finding> CheckStack(const std::vector<StackRow>& rows, const StackMachine& machine);

// The fixes of every finding that has one, in finding order, without repeats.
std::vector<RowChange> AllFixes(const std::vector<Finding>& findings);

}  // namespace zv::netstack
