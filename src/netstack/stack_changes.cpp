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
    StoredMtu stored = {};  // an adapter's MTU: what the persistent store holds
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

// netsh ended after the bounded wait may have made the change before it was ended.
Written FromNetsh(NetshPort& netsh, const std::vector<std::string>& arguments) {
    NetshRun run = netsh.Run(arguments);
    if (run.timed_out) {
        return {ChangeResult::Unknown, "netsh did not finish in time and was ended"};
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
        case PortStatus::TimedOut:
            return {ChangeResult::Unknown,
                    std::string(through) + " did not answer in time and may still make it"};
        case PortStatus::Failed:
            break;
    }
    return {ChangeResult::Refused, std::string(through) + " did not answer"};
}

WmiClass ClassOf(S setting) {
    return EntryOf(setting).store == Store::Offload ? WmiClass::OffloadGlobalSetting
                                                    : WmiClass::TcpSetting;
}

// WMI says a write was saved even where the stack then keeps its own value, so every
// write is read back; one that cannot be may have been made.
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
    return {ChangeResult::Unknown, "it was written but could not be read back"};
}

Written StoreMtu(StackPorts& ports, const StackMachine& machine, const Target& target,
                 uint32_t value) {
    StackRow row;
    row.id = target.id;
    row.adapter = target.adapter;
    std::optional<std::vector<std::string>> arguments = NetshArguments(row, value, machine);
    if (!arguments) {
        return {ChangeResult::NotAvailable, "Windows gave no index for the adapter"};
    }
    return FromNetsh(ports.netsh, *arguments);
}

// The MTU in effect (SetIpInterfaceEntry) and the one stored for the next start (netsh)
// are two writes: when one of them is made, the change is told as partly done.
Written BothStores(const Written& now, const Written& stored) {
    using R = ChangeResult;
    if (now.result == R::Done && stored.result == R::Done) {
        return Done();
    }
    if (now.result == R::Done) {
        bool unknown = stored.result == R::Unknown;
        return {unknown ? R::Unknown : R::PartlyDone,
                std::string(unknown ? "set now, not known whether" : "set now, not") +
                    " stored for the next start (" + stored.why + ")"};
    }
    if (stored.result == R::Done) {
        bool unknown = now.result == R::Unknown;
        return {unknown ? R::Unknown : R::PartlyDone,
                std::string(unknown ? "stored for the next start, not known whether"
                                    : "stored for the next start, not") +
                    " set now (" + now.why + ")"};
    }
    return now.result == R::Unknown ? now : stored;
}

// Each store is written only where it differs from the value, and the one in effect first:
// when Windows refuses that one, nothing is stored either.
Written WriteMtu(StackPorts& ports, const StackMachine& machine, const Target& target,
                 uint32_t value) {
    if (!target.adapter) {
        return {ChangeResult::NotAllowed, "the adapter is gone"};
    }
    Written now =
        target.adapter->mtu == value
            ? Done()
            : FromPort(ports.interfaces.SetMtu(*target.adapter, value), "SetIpInterfaceEntry");
    if (now.result == ChangeResult::Refused) {
        return now;
    }
    bool stored_already = target.stored.status == PortStatus::Ok && target.stored.mtu == value;
    return BothStores(now, stored_already ? Done() : StoreMtu(ports, machine, target, value));
}

// A value is written as its four bytes, whatever they are (0xFFFFFFFF too, which
// SetRegistryValue takes as "remove").
Written WriteRegistry(RegistryPort& registry, const Target& target, std::optional<uint32_t> value) {
    RegistryPlace place = RegistryPlaceOf(target.id.setting, target.id.instance);
    int32_t error = kErrorSuccess;
    if (value) {
        RegistryKey key = 0;
        error = registry.CreateKey(RegistryRoot::LocalMachine, place.key, &key);
        if (error == kErrorSuccess) {
            error = registry.SetValue(key, place.name, kRegDword, DwordBytes(*value));
            registry.CloseKey(key);
        }
    } else {
        error = SetRegistryValue(registry, RegistryRoot::LocalMachine, place.key, place.name,
                                 kRegDword, 0, true);
    }
    if (error == kErrorSuccess || (!value && error == kErrorFileNotFound)) {
        return Done();
    }
    return {ChangeResult::Refused, "registry error " + std::to_string(error)};
}

// A setting netsh has template words for is one client releases refuse through WMI.
bool TemplateByNetsh(const Target& target, const StackMachine& machine) {
    return EntryOf(target.id.setting).netsh.template_words.count != 0 &&
           (machine.Reach() == StackReach::Netsh || !machine.detail.server);
}

Written Write(StackPorts& ports, const StackMachine& machine, const Target& target,
              std::optional<uint32_t> value) {
    S setting = target.id.setting;
    if (IsRegistrySetting(setting)) {
        return WriteRegistry(ports.registry, target, value);
    }
    if (IsMtu(setting)) {
        return WriteMtu(ports, machine, target, *value);
    }
    StackRow row;
    row.id = target.id;
    if (machine.Reach() == StackReach::Netsh || TemplateByNetsh(target, machine)) {
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
        case ChangeResult::PartlyDone:
            return target.label + ": partly " + what + ": " + written.why + ".";
        case ChangeResult::Unknown:
            return target.label + ": " + what + ", not known whether made: " + written.why + ".";
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

// A change to make: its row, what the persistent store holds of an MTU, and how the
// snapshot records the row (as a catalogue row or a stack value).
struct Planned {
    size_t change;
    const StackRow* row;
    StoredMtu stored;
    std::optional<CatalogueRow> catalogue_row;
    Snapshot::StackValue old_value;
};

Snapshot::StackValue OldValueOf(const StackRow& row, const StoredMtu& stored) {
    Snapshot::StackValue old{SettingKey(row.id.setting), row.id.instance,
                             row.state == RowState::Read ? row.now : std::nullopt,
                             row.state == RowState::Unreadable};
    old.stored_known = stored.status == PortStatus::Ok;
    old.stored = stored.mtu;
    return old;
}

Planned Plan(StackPorts& ports, const StackRow& row, size_t change) {
    Planned plan{change, &row, {}, SnapshotRowOf(row.id), {}};
    if (IsMtu(row.id.setting) && row.adapter) {
        plan.stored = ports.interfaces.PersistentMtu(*row.adapter);
    }
    plan.old_value = OldValueOf(row, plan.stored);
    return plan;
}

// An MTU in effect now and stored for the next start already: writing it again would only
// pin it in the persistent store, and Undo would then have nothing to put back.
bool InEffect(const Planned& plan, const RowChange& change) {
    return IsMtu(plan.row->id.setting) && plan.row->now == change.value &&
           plan.stored.status == PortStatus::Ok && plan.stored.mtu == change.value;
}

struct SnapshotRows {
    std::vector<CatalogueRow> registry;
    std::vector<Snapshot::StackValue> stack;

    bool empty() const { return registry.empty() && stack.empty(); }
};

// The rows of the changes planned; given the outcomes, only of those that may have changed.
SnapshotRows RowsOf(const std::vector<Planned>& planned,
                    const std::vector<ChangeOutcome>* outcomes = nullptr) {
    SnapshotRows rows;
    for (const Planned& plan : planned) {
        if (outcomes && !MayHaveChanged((*outcomes)[plan.change].result)) {
            continue;
        }
        if (plan.catalogue_row) {
            rows.registry.push_back(*plan.catalogue_row);
        } else {
            rows.stack.push_back(plan.old_value);
        }
    }
    return rows;
}

// Records the planned rows, makes each change, and keeps of the snapshot only the rows that
// may have changed (none: it is removed again).
void MakeChanges(StackPorts& ports, SnapshotPorts snapshots, const std::string& program_directory,
                 const StackMachine& machine, const std::vector<Planned>& planned,
                 std::vector<ChangeOutcome>& outcomes) {
    SnapshotRows all = RowsOf(planned);
    RecordedSnapshot snapshot =
        RecordSnapshot(snapshots, program_directory, all.registry, all.stack);
    bool recorded = snapshot.outcome == SnapshotRecord::Recorded;
    for (const Planned& plan : planned) {
        Target target = TargetOf(*plan.row);
        target.stored = plan.stored;
        const RowChange& change = outcomes[plan.change].change;
        Written written = recorded ? Write(ports, machine, target, change.value)
                                   : Written{ChangeResult::NotRecorded, ""};
        outcomes[plan.change].result = written.result;
        outcomes[plan.change].text = Describe(target, change.value, written);
    }
    if (!recorded) {
        return;
    }
    SnapshotRows changed = RowsOf(planned, &outcomes);
    if (changed.empty()) {
        DiscardSnapshot(snapshots.folders, snapshot);
    } else if (!KeepSnapshot(snapshots, program_directory, snapshot, changed.registry,
                             changed.stack)) {
        outcomes.push_back({outcomes.front().change, ChangeResult::NotRecorded,
                            "The snapshots in " + program_directory + kSnapshotFolderName +
                                " could not be brought up to date: Undo may not put these "
                                "changes back exactly."});
    }
}

}  // namespace

bool MayHaveChanged(ChangeResult result) {
    return result == ChangeResult::Done || result == ChangeResult::PartlyDone ||
           result == ChangeResult::Unknown;
}

std::vector<ChangeOutcome> ApplyChanges(StackPorts& ports, SnapshotPorts snapshots,
                                        const std::string& program_directory,
                                        const StackMachine& machine,
                                        const std::vector<StackRow>& rows,
                                        const std::vector<RowChange>& changes) {
    std::vector<ChangeOutcome> outcomes;
    std::vector<Planned> planned;
    for (const RowChange& change : changes) {
        const StackRow* row = FindRow(rows, change.row);
        std::optional<std::string> refusal = Refusal(row, change);
        if (refusal) {
            Target target{change.row, row ? row->label : SettingKey(change.row.setting), {}, {}};
            outcomes.push_back(
                {change, ChangeResult::NotAllowed,
                 Describe(target, change.value, {ChangeResult::NotAllowed, *refusal})});
            continue;
        }
        Planned plan = Plan(ports, *row, outcomes.size());
        if (InEffect(plan, change)) {
            outcomes.push_back({change, ChangeResult::Done,
                                row->label + ": already " + ValueText(*row, *change.value) +
                                    ", now and for the next start."});
            continue;
        }
        outcomes.push_back({change, ChangeResult::Done, ""});
        planned.push_back(plan);
    }
    if (planned.empty()) {
        return outcomes;
    }
    MakeChanges(ports, snapshots, program_directory, machine, planned, outcomes);
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
    std::vector<ChangeOutcome> outcomes =
        ApplyChanges(ports, snapshots, program_directory, machine, rows, {change});
    // A line about the snapshots follows the change's own: the dialog shows both.
    for (size_t i = 1; i < outcomes.size(); ++i) {
        outcomes.front().text += " " + outcomes[i].text;
    }
    return outcomes.front();
}

bool AllDone(const std::vector<ChangeOutcome>& outcomes) {
    return std::all_of(outcomes.begin(), outcomes.end(), [](const ChangeOutcome& outcome) {
        return outcome.result == ChangeResult::Done;
    });
}

bool AnyPartlyOrUnknown(const std::vector<ChangeOutcome>& outcomes) {
    return std::any_of(outcomes.begin(), outcomes.end(), [](const ChangeOutcome& outcome) {
        return outcome.result == ChangeResult::PartlyDone ||
               outcome.result == ChangeResult::Unknown;
    });
}

namespace {

bool IsAdapterKeyName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

// The places a stray registry value is looked for.
bool KnownStrayPlace(S setting, const std::string& instance) {
    const std::string interfaces = std::string(kTcpipInterfaces) + "\\";
    switch (setting) {
        case S::MisplacedTcpAckFrequency:
            return instance == kTcpipParameters || instance == kTcpipInterfaces;
        case S::MisplacedTcpNoDelay:
            return instance == kTcpipParameters || instance == kTcpipInterfaces ||
                   (instance.compare(0, interfaces.size(), interfaces) == 0 &&
                    IsAdapterKeyName(instance.substr(interfaces.size())));
        case S::ClassicReceiveWindow:
            return instance == "TcpWindowSize" || instance == "GlobalMaxTcpWindowSize";
        default:
            break;
    }
    return false;
}

bool KnownInstance(S setting, const std::string& instance) {
    switch (EntryOf(setting).store) {
        case Store::TcpGlobal:
        case Store::Offload:
            break;
        case Store::TcpTemplates:
            // A template's name goes into netsh's arguments: only the fixed ones may.
            return instance.empty() ||
                   std::any_of(std::begin(kTemplates), std::end(kTemplates),
                               [&](const char* name) { return instance == name; });
        case Store::IpInterface:
            return IsAllDigits(instance);
        case Store::AdapterRegistry:
            return IsAdapterKeyName(instance);
        case Store::StrayRegistry:
            return KnownStrayPlace(setting, instance);
    }
    return instance.empty() || instance == kGlobalTemplate;
}

// As the row is labelled: "ECN", "Congestion provider: Internet", "IPv4 MTU: Ethernet".
std::string UndoLabel(S setting, const std::string& instance, const StackRow* row) {
    if (row != nullptr) {
        return row->label;
    }
    std::string name = EntryOf(setting).name;
    bool global = instance.empty() ||
                  (instance == kGlobalTemplate && EntryOf(setting).store != Store::TcpTemplates);
    return global ? name : name + ": " + instance;
}

std::string OldValueText(S setting, const Snapshot::StackValue& value) {
    if (value.windows_default) {
        return "Windows default";
    }
    if (!value.value) {
        return "removed";
    }
    const ChoiceList& choices = EntryOf(setting).choices;
    StackRow shown;
    shown.choices.assign(choices.first, choices.first + choices.count);
    return ValueText(shown, *value.value);
}

std::string FailureOf(const Written& written) {
    return written.result == ChangeResult::Refused ? "refused: " + written.why : written.why;
}

// The persistent store gets back what it held: the value, or none (the value Zorvane
// stored removed). A snapshot that predates the record of it stores the MTU that was in
// effect, where it was changed.
Written PutStoredBack(StackPorts& ports, const StackMachine& machine, const Target& target,
                      const Snapshot::StackValue& value) {
    if (!value.stored_known) {
        return target.adapter->mtu == value.value ? Done()
                                                  : StoreMtu(ports, machine, target, *value.value);
    }
    StoredMtu now = ports.interfaces.PersistentMtu(*target.adapter);
    if (now.status == PortStatus::Ok && now.mtu == value.stored) {
        return Done();
    }
    if (value.stored) {
        return StoreMtu(ports, machine, target, *value.stored);
    }
    PortStatus removed = ports.interfaces.RemovePersistentMtu(*target.adapter);
    if (removed == PortStatus::Ok) {
        return Done();
    }
    return {
        removed == PortStatus::NotAvailable ? ChangeResult::NotAvailable : ChangeResult::Refused,
        "this Windows would not remove the MTU stored for it"};
}

// Both stores are put back, each where it differs; an adapter removed since has nothing to
// put back.
StackPutBack PutMtuBack(StackPorts& ports, const StackMachine& machine, Target target,
                        const Snapshot::StackValue& value) {
    std::vector<StackRow> rows = ReadPiece(StackPiece::IpInterfaces, ports, machine);
    const StackRow* row = FindRow(rows, target.id);
    StackPutBack put{UndoLabel(target.id.setting, target.id.instance, row) + ": " +
                         OldValueText(target.id.setting, value),
                     ""};
    if (row == nullptr || !row->adapter) {
        put.row += " (the adapter is gone: nothing to put back)";
        return put;
    }
    if (!value.value) {
        put.failure = "its old value was not recorded";
        return put;
    }
    target.adapter = row->adapter;
    Written now =
        row->adapter->mtu == *value.value
            ? Done()
            : FromPort(ports.interfaces.SetMtu(*row->adapter, *value.value), "SetIpInterfaceEntry");
    Written stored = PutStoredBack(ports, machine, target, value);
    if (now.result != ChangeResult::Done) {
        put.failure = "not put back now, " + FailureOf(now);
    }
    if (stored.result != ChangeResult::Done) {
        put.failure += (put.failure.empty() ? "" : "; ") +
                       std::string("not put back for the next start, ") + FailureOf(stored);
    }
    return put;
}

}  // namespace

bool StackUndo::Knows(const Snapshot::StackValue& value) {
    std::optional<StackSetting> setting = SettingOfKey(value.setting);
    return setting && KnownInstance(*setting, value.instance);
}

bool StackUndo::KnowsRegistryValue(const std::string& key, const std::string& name) {
    return IsStackRegistryValue(key, name);
}

StackPutBack StackUndo::PutBack(const Snapshot::StackValue& value) {
    std::optional<StackSetting> setting = SettingOfKey(value.setting);
    if (!setting) {
        return {value.setting + " " + value.instance, "not a setting Zorvane changes"};
    }
    Target target{{*setting, value.instance}, value.setting, std::nullopt, {}};
    if (IsMtu(*setting)) {
        return PutMtuBack(ports_, machine_, target, value);
    }
    StackPutBack put{
        UndoLabel(*setting, value.instance, nullptr) + ": " + OldValueText(*setting, value), ""};
    Written written = Done();
    if (value.windows_default) {
        auto arguments = NetshDefaultArguments(*setting);
        written = arguments ? FromNetsh(ports_.netsh, *arguments)
                            : Written{ChangeResult::NotAvailable, "netsh has no default for it"};
    } else if (!value.value && !IsRegistrySetting(*setting)) {
        written = {ChangeResult::NotAllowed, "its old value was not recorded"};
    } else {
        written = Write(ports_, machine_, target, value.value);
    }
    if (written.result != ChangeResult::Done) {
        put.failure = FailureOf(written);
    }
    return put;
}

}  // namespace zv::netstack
