#include "netstack/stack_checks.h"

#include <algorithm>

#include "netstack/stack_entries.h"

namespace zv::netstack {
namespace {

using S = StackSetting;

bool HasValue(const StackRow* row) {
    return row != nullptr && row->state == RowState::Read && row->now;
}

// Whether the row holds the value its setting's check finds harmful.
bool Harmful(const StackRow* row) {
    if (!HasValue(row)) {
        return false;
    }
    const CheckValues& check = EntryOf(row->id.setting).check;
    return check.harmful == kAnyOther ? *row->now != check.fix : *row->now == check.harmful;
}

uint32_t FixOf(const StackRow& row) {
    return EntryOf(row.id.setting).check.fix;
}

std::string LimitedWhy(uint32_t level) {
    if (level == kDisabled) {
        return "the receive window stays at 64 KB, so one download cannot pass about 50 Mbit/s "
               "at 10 ms.";
    }
    if (level == kLevelExperimental) {
        return "its very large windows are meant for tests and can stall ordinary traffic.";
    }
    return "the receive window stays small, so one download slows down on fast or distant "
           "links.";
}

void CheckAutoTuning(const std::vector<StackRow>& rows, std::vector<Finding>& findings) {
    const StackRow* local = FindRow(rows, {S::AutoTuningLocal, kGlobalTemplate});
    const StackRow* policy = FindRow(rows, {S::AutoTuningGroupPolicy, kGlobalTemplate});
    if (local != nullptr && local->set_by_group_policy) {
        if (Harmful(policy)) {
            findings.push_back({FindingKind::AutoTuningLimited,
                                policy->id,
                                "Group Policy sets receive window auto-tuning to " +
                                    ValueText(*policy, *policy->now) + ": " +
                                    LimitedWhy(*policy->now),
                                {},
                                "Group Policy sets it: only a change of the policy fixes it."});
        }
        return;
    }
    if (Harmful(local)) {
        findings.push_back({FindingKind::AutoTuningLimited,
                            local->id,
                            "Receive window auto-tuning is " + ValueText(*local, *local->now) +
                                ": " + LimitedWhy(*local->now),
                            {{local->id, FixOf(*local)}},
                            "Set it to " + ValueText(*local, FixOf(*local))});
    }
}

void CheckProviders(const std::vector<StackRow>& rows, const StackMachine& machine,
                    std::vector<Finding>& findings) {
    if (!ChecksRead(S::CongestionProvider, machine)) {
        return;
    }
    for (const StackRow& row : rows) {
        if (row.id.setting != S::CongestionProvider || !Harmful(&row)) {
            continue;
        }
        uint32_t fixed = row.id.instance == "Compat" ? kNewReno : FixOf(row);
        findings.push_back({FindingKind::Bbr2LoopbackHang,
                            row.id,
                            row.label +
                                " is BBR2: on this build, programs that talk to a local proxy "
                                "or to localhost hang after the handshake.",
                            {{row.id, fixed}},
                            "Set it to " + ValueText(row, fixed)});
    }
}

void CheckRegistryValues(const std::vector<StackRow>& rows, const StackMachine& machine,
                         std::vector<Finding>& findings) {
    for (const StackRow& row : rows) {
        S setting = row.id.setting;
        if (!RemovalOnly(setting) || row.state != RowState::Read) {
            continue;
        }
        RegistryPlace place = RegistryPlaceOf(setting, row.id.instance);
        std::string text = place.name + " is set under " + place.key;
        if (setting == S::MisplacedTcpAckFrequency) {
            text += ", where Windows never reads it.";
        } else if (setting == S::MisplacedTcpNoDelay) {
            text += ", where it has no system-wide effect.";
        } else if (machine.Reach() != StackReach::None) {
            text += ", which Windows ignores since Vista: it does nothing but mislead.";
        } else {
            continue;
        }
        FindingKind kind = setting == S::ClassicReceiveWindow ? FindingKind::IgnoredClassicValues
                                                              : FindingKind::MisplacedValue;
        findings.push_back({kind, row.id, text, {{row.id, std::nullopt}}, "Remove it"});
    }
}

void CheckMtus(const std::vector<StackRow>& rows, std::vector<Finding>& findings) {
    for (const StackRow& row : rows) {
        if (!IsMtu(row.id.setting) || !HasValue(&row) || Allows(row, *row.now)) {
            continue;
        }
        uint32_t fixed = std::clamp(*row.now, row.minimum, row.maximum);
        findings.push_back({FindingKind::MtuOutOfBounds,
                            row.id,
                            row.label + " is " + std::to_string(*row.now) + ", outside " +
                                std::to_string(row.minimum) + "-" + std::to_string(row.maximum) +
                                ": packets are dropped or split needlessly.",
                            {{row.id, fixed}},
                            "Set it to " + std::to_string(fixed)});
    }
}

void CheckRss(const std::vector<StackRow>& rows, const StackMachine& machine,
              std::vector<Finding>& findings) {
    const StackRow* rss = FindRow(rows, {S::ReceiveSideScaling, ""});
    if (ChecksRead(S::ReceiveSideScaling, machine) && Harmful(rss)) {
        findings.push_back({FindingKind::RssOff,
                            rss->id,
                            "Receive-side scaling is off: one of the " +
                                std::to_string(machine.processors) +
                                " processors handles all received traffic.",
                            {{rss->id, FixOf(*rss)}},
                            "Set it to " + ValueText(*rss, FixOf(*rss))});
    }
}

}  // namespace

bool ChecksRead(StackSetting setting, const StackMachine& machine) {
    bool (*reads)(const StackMachine&) = EntryOf(setting).check.reads;
    return reads != nullptr && reads(machine);
}

std::vector<Finding> CheckStack(const std::vector<StackRow>& rows, const StackMachine& machine) {
    std::vector<Finding> findings;
    CheckAutoTuning(rows, findings);
    CheckProviders(rows, machine, findings);
    CheckRegistryValues(rows, machine, findings);
    CheckMtus(rows, findings);
    CheckRss(rows, machine, findings);
    return findings;
}

std::vector<RowChange> AllFixes(const std::vector<Finding>& findings) {
    std::vector<RowChange> fixes;
    for (const Finding& finding : findings) {
        for (const RowChange& change : finding.fix) {
            if (std::find(fixes.begin(), fixes.end(), change) == fixes.end()) {
                fixes.push_back(change);
            }
        }
    }
    return fixes;
}

}  // namespace zv::netstack
