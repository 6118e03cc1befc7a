#include "netstack/stack_changes.h"

#include <algorithm>
#include <iterator>

#include "common/numbers.h"
#include "netstack/stack_entries.h"
#include "netstack/stack_netsh.h"
#include "sysconfig/registry_access.h"

namespace zv::netstack {
namespace {

using S = StackSetting;

// What a write needs of a row; Undo makes one from a snapshot line.
struct Target {
    RowId id;
    std::string label;
    std::optional<IpInterface> adapter;
    std::vector<Choice> choices;
};

Target TargetOf(const StackRow& row) {
    return {row.id, row.label, row.adapter, row.choices};
}

struct Written {
    ChangeResult result;
    std::string why;  // for a change not done: "netsh exit code 1"
};

Written Done() {
    return {ChangeResult::Done, ""};
}

Written FromNetsh(NetshPort& netsh, const std::vector<std::string>& arguments) {
    NetshRun run = netsh.Run(arguments);
    if (run.timed_out) {
        return {ChangeResult::Refused, "netsh did not finish in time"};
    }
    if (!run.started) {
        return {ChangeResult::Refused, "netsh could not be started"};
    }
    if (run.exit_code != 0) {
        return {ChangeResult::Refused, "netsh exit code " + std::to_string(run.exit_code)};
    }
    return Done();
}

Written FromPort(PortStatus status, const char* through) {
    switch (status) {
        case PortStatus::Ok:
            return Done();
        case PortStatus::NotAvailable:
            return {ChangeResult::NotAvailable, std::string("this Windows has no ") + through};
        case PortStatus::Refused:
            return {ChangeResult::Refused, std::string("refused by ") + through};
        case PortStatus::Failed:
            break;
    }
    return {ChangeResult::Refused, std::string(through) + " did not answer"};
}

WmiClass ClassOf(S setting) {
    return setting == S::ReceiveSideScaling || setting == S::ReceiveSegmentCoalescing
               ? WmiClass::OffloadGlobalSetting
               : WmiClass::TcpSetting;
}

// WMI says a write was saved even where the stack then keeps its own value, so every
// write is read back.
Written ReadBack(StackPorts& ports, const StackMachine& machine, const Target& target,
                 uint32_t value) {
    const char* property = EntryOf(target.id.setting).property;
    WmiAnswer answer = ports.wmi.Query(ClassOf(target.id.setting), {property});
    for (const WmiInstance& instance : answer.rows) {
        if (instance.setting_name != target.id.instance) {
            continue;
        }
        std::optional<uint32_t> now = instance.Property(property);
        if (now && ReadBackMatches(target.id, value, *now, machine)) {
            return Done();
        }
        if (now) {
            StackRow shown;
            shown.choices = target.choices;
            return {ChangeResult::Refused, "Windows kept " + ValueText(shown, *now)};
        }
    }
    return {ChangeResult::Refused, "it could not be read back"};
}

Written WriteMtu(StackPorts& ports, const StackMachine& machine, const Target& target,
                 uint32_t value) {
    if (!target.adapter) {
        return {ChangeResult::NotAllowed, "the adapter is gone"};
    }
    Written now = FromPort(ports.interfaces.SetMtu(*target.adapter, value), "SetIpInterfaceEntry");
    if (now.result == ChangeResult::Refused) {
        return now;
    }
    StackRow row;
    row.id = target.id;
    row.adapter = target.adapter;
    // netsh names the adapter by its index, which Windows may not have given.
    std::optional<std::vector<std::string>> arguments = NetshArguments(row, value, machine);
    Written stored =
        arguments ? FromNetsh(ports.netsh, *arguments)
                  : Written{ChangeResult::NotAvailable,
                            std::string(now.result == ChangeResult::Done ? "set now, but not stored"
                                                                         : "not stored") +
                                " for the next start: Windows gave no index "
                                "for the adapter"};
    if (stored.result != ChangeResult::Done) {
        return stored;
    }
    if (now.result != ChangeResult::Done) {
        return {now.result, "stored for the next start, but " + now.why + " to set it now"};
    }
    return Done();
}

Written WriteRegistry(RegistryPort& registry, const Target& target, std::optional<uint32_t> value) {
    RegistryPlace place = RegistryPlaceOf(target.id.setting, target.id.instance);
    int32_t error =
        SetRegistryValue(registry, RegistryRoot::LocalMachine, place.key, place.name, kRegDword,
                         static_cast<int32_t>(value.value_or(0)), !value.has_value());
    if (error == kErrorSuccess || (!value && error == kErrorFileNotFound)) {
        return Done();
    }
    return {ChangeResult::Refused, "registry error " + std::to_string(error)};
}

// Client releases refuse a provider through WMI; netsh's supplemental templates take it.
bool ProviderByNetsh(const Target& target, const StackMachine& machine) {
    return target.id.setting == S::CongestionProvider &&
           (machine.Reach() == StackReach::Netsh || !machine.detail.server);
}

Written Write(StackPorts& ports, const StackMachine& machine, const Target& target,
              std::optional<uint32_t> value) {
    S setting = target.id.setting;
    if (IsRegistrySetting(setting)) {
        return WriteRegistry(ports.registry, target, value);
    }
    if (setting == S::Ipv4Mtu || setting == S::Ipv6Mtu) {
        return WriteMtu(ports, machine, target, *value);
    }
    StackRow row;
    row.id = target.id;
    if (machine.Reach() == StackReach::Netsh || ProviderByNetsh(target, machine)) {
        auto arguments = NetshArguments(row, *value, machine);
        if (!arguments) {
            return {ChangeResult::NotAvailable, "netsh does not set it on this Windows"};
        }
        Written run = FromNetsh(ports.netsh, *arguments);
        return run.result == ChangeResult::Done && machine.Reach() == StackReach::Wmi
                   ? ReadBack(ports, machine, target, *value)
                   : run;
    }
    Written written = FromPort(
        ports.wmi.Write(ClassOf(setting), target.id.instance, EntryOf(setting).property, *value),
        "WMI");
    return written.result == ChangeResult::Done ? ReadBack(ports, machine, target, *value)
                                                : written;
}

std::string Describe(const Target& target, std::optional<uint32_t> value, const Written& written) {
    StackRow shown;
    shown.choices = target.choices;
    std::string what = value ? "set to " + ValueText(shown, *value) : std::string("removed");
    switch (written.result) {
        case ChangeResult::Done:
            return target.label + ": " + what + ".";
        case ChangeResult::NotRecorded:
            return target.label + ": not changed (the snapshot for Undo could not be written).";
        case ChangeResult::Refused:
            return target.label + ": not " + what + ", refused (" + written.why + ").";
        case ChangeResult::NotAvailable:
        case ChangeResult::NotAllowed:
            break;
    }
    return target.label + ": not " + what + " (" + written.why + ").";
}

// Why the change cannot be made, or nothing when it can.
std::optional<std::string> Refusal(const StackRow* row, const RowChange& change) {
    if (row == nullptr) {
        return "no such setting on this machine";
    }
    if (!row->writable) {
        return "it cannot be changed here";
    }
    if (!change.value) {
        return IsRegistrySetting(row->id.setting)
                   ? std::nullopt
                   : std::optional<std::string>("the value is not allowed");
    }
    if (RemovalOnly(row->id.setting)) {
        return "it can only be removed";
    }
    if (!Allows(*row, *change.value)) {
        return "the value is not allowed";
    }
    return std::nullopt;
}

Snapshot::StackValue OldValueOf(const StackRow& row) {
    return {SettingKey(row.id.setting), row.id.instance,
            row.state == RowState::Read ? row.now : std::nullopt,
            row.state == RowState::Unreadable};
}

}  // namespace

std::vector<ChangeOutcome> ApplyChanges(StackPorts& ports, SnapshotPorts snapshots,
                                        const std::string& program_directory,
                                        const StackMachine& machine,
                                        const std::vector<StackRow>& rows,
                                        const std::vector<RowChange>& changes) {
    std::vector<ChangeOutcome> outcomes;
    std::vector<Snapshot::StackValue> old_values;
    std::vector<CatalogueRow> old_registry_values;
    std::vector<const StackRow*> targets;
    for (const RowChange& change : changes) {
        const StackRow* row = FindRow(rows, change.row);
        std::optional<std::string> refusal = Refusal(row, change);
        targets.push_back(refusal ? nullptr : row);
        if (refusal) {
            Target target{change.row, row ? row->label : SettingKey(change.row.setting), {}, {}};
            outcomes.push_back(
                {change, ChangeResult::NotAllowed,
                 Describe(target, change.value, {ChangeResult::NotAllowed, *refusal})});
        } else {
            if (std::optional<CatalogueRow> catalogue_row = SnapshotRowOf(row->id)) {
                old_registry_values.push_back(*catalogue_row);
            } else {
                old_values.push_back(OldValueOf(*row));
            }
            outcomes.push_back({change, ChangeResult::Done, ""});
        }
    }
    if (old_values.empty() && old_registry_values.empty()) {
        return outcomes;
    }
    RecordedSnapshot snapshot =
        RecordSnapshot(snapshots, program_directory, old_registry_values, old_values);
    bool recorded = snapshot.outcome == SnapshotRecord::Recorded;
    bool any_done = false;
    for (size_t i = 0; i < changes.size(); ++i) {
        if (targets[i] == nullptr) {
            continue;
        }
        Target target = TargetOf(*targets[i]);
        Written written = recorded ? Write(ports, machine, target, changes[i].value)
                                   : Written{ChangeResult::NotRecorded, ""};
        any_done = any_done || written.result == ChangeResult::Done;
        outcomes[i].result = written.result;
        outcomes[i].text = Describe(target, changes[i].value, written);
    }
    if (recorded && !any_done) {
        DiscardSnapshot(snapshots.folders, snapshot);
    } else if (recorded) {
        PruneSnapshots(snapshots.folders, program_directory);
    }
    return outcomes;
}

ChangeOutcome UseMtuForRoute(StackPorts& ports, SnapshotPorts snapshots,
                             const std::string& program_directory, const StackMachine& machine,
                             uint32_t address, uint32_t mtu) {
    std::optional<uint32_t> index = ports.interfaces.BestInterface(address);
    std::vector<StackRow> rows = ReadPiece(StackPiece::IpInterfaces, ports, machine);
    auto row = std::find_if(rows.begin(), rows.end(), [&](const StackRow& r) {
        return r.id.setting == S::Ipv4Mtu && r.adapter && index && r.adapter->index == *index;
    });
    RowChange change{row != rows.end() ? row->id : RowId{S::Ipv4Mtu, ""}, mtu};
    if (row == rows.end()) {
        return {change, ChangeResult::NotAllowed,
                "No adapter routes to this host, so no MTU was set."};
    }
    return ApplyChanges(ports, snapshots, program_directory, machine, rows, {change}).front();
}

bool AllDone(const std::vector<ChangeOutcome>& outcomes) {
    return std::all_of(outcomes.begin(), outcomes.end(), [](const ChangeOutcome& outcome) {
        return outcome.result == ChangeResult::Done;
    });
}

namespace {

bool IsAdapterKeyName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

bool KnownInstance(S setting, const std::string& instance) {
    const std::string interfaces = std::string(kTcpipInterfaces) + "\\";
    switch (setting) {
        case S::TcpAckFrequency:
            return IsAdapterKeyName(instance);
        case S::MisplacedTcpAckFrequency:
            return instance == kTcpipParameters || instance == kTcpipInterfaces;
        case S::MisplacedTcpNoDelay:
            return instance == kTcpipParameters || instance == kTcpipInterfaces ||
                   (instance.compare(0, interfaces.size(), interfaces) == 0 &&
                    IsAdapterKeyName(instance.substr(interfaces.size())));
        case S::ClassicReceiveWindow:
            return instance == "TcpWindowSize" || instance == "GlobalMaxTcpWindowSize";
        case S::Ipv4Mtu:
        case S::Ipv6Mtu:
            return IsAllDigits(instance);
        case S::CongestionProvider:
            // A template's name goes into netsh's arguments: only the fixed ones may.
            return instance.empty() ||
                   std::any_of(std::begin(kTemplates), std::end(kTemplates),
                               [&](const char* name) { return instance == name; });
        default:
            break;
    }
    return instance.empty() || instance == kGlobalTemplate;
}

}  // namespace

bool StackUndo::Knows(const Snapshot::StackValue& value) {
    std::optional<StackSetting> setting = SettingOfKey(value.setting);
    return setting && KnownInstance(*setting, value.instance);
}

bool StackUndo::KnowsRegistryValue(const std::string& key, const std::string& name) {
    return IsStackRegistryValue(key, name);
}

bool StackUndo::PutBack(const Snapshot::StackValue& value) {
    std::optional<StackSetting> setting = SettingOfKey(value.setting);
    if (!setting) {
        return false;
    }
    Target target{{*setting, value.instance}, value.setting, std::nullopt, {}};
    if (value.windows_default) {
        auto arguments = NetshDefaultArguments(*setting);
        return arguments && FromNetsh(ports_.netsh, *arguments).result == ChangeResult::Done;
    }
    if (*setting == S::Ipv4Mtu || *setting == S::Ipv6Mtu) {
        for (const StackRow& row : ReadPiece(StackPiece::IpInterfaces, ports_, machine_)) {
            if (row.id == target.id) {
                target.adapter = row.adapter;
            }
        }
        // An adapter removed since has nothing to put back, nor one whose change was refused.
        if (!target.adapter || target.adapter->mtu == value.value) {
            return true;
        }
    }
    if (!value.value && !IsRegistrySetting(*setting)) {
        return false;
    }
    return Write(ports_, machine_, target, value.value).result == ChangeResult::Done;
}

}  // namespace zv::netstack
