#include "netstack/stack_catalogue.h"

#include <algorithm>

#include "netstack/stack_entries.h"
#include "sysconfig/registry_access.h"

namespace zv::netstack {
namespace {

using S = StackSetting;

constexpr uint32_t kLargestMtu = 65535;
constexpr char kNotSet[] = "(not set)";
constexpr const char* kClassicValues[] = {"TcpWindowSize", "GlobalMaxTcpWindowSize"};
constexpr char kRemoveText[] = "Remove the value";
constexpr char kDefaultMark[] = " (Windows' default)";

std::optional<uint32_t> DefaultValue(const RowId& id, const StackMachine& machine) {
    return EntryOf(id.setting).windows_default(id.instance, machine);
}

std::string WindowsDefaultText(const StackRow& row) {
    if (const char* text = EntryOf(row.id.setting).default_text) {
        return text;
    }
    return row.default_value ? ValueText(row, *row.default_value) : kNotSet;
}

std::string Where(const StackEntry& entry, const std::string& instance, StackReach reach) {
    if (IsRegistrySetting(entry.setting)) {
        RegistryPlace place = RegistryPlaceOf(entry.setting, instance);
        return "HKLM\\" + place.key + "\\" + place.name;
    }
    if (entry.store == Store::IpInterface) {
        return "IP Helper (NlMtu); netsh for the persistent store";
    }
    if (reach == StackReach::Netsh) {
        return "netsh interface tcp";
    }
    return std::string("WMI ") +
           (entry.store == Store::Offload ? "MSFT_NetOffloadGlobalSetting."
                                          : "MSFT_NetTCPSetting.") +
           entry.property;
}

StackRow MakeRow(StackSetting setting, const std::string& instance, const std::string& label,
                 const StackMachine& machine) {
    const StackEntry& entry = EntryOf(setting);
    StackRow row;
    row.id = {setting, instance};
    row.label = label.empty() ? entry.name : std::string(entry.name) + ": " + label;
    row.where = Where(entry, instance, machine.Reach());
    row.takes_effect = entry.takes_effect;
    row.choices.assign(entry.choices.first, entry.choices.first + entry.choices.count);
    row.minimum = entry.range.minimum;
    row.maximum = entry.range.maximum;
    row.default_value = DefaultValue(row.id, machine);
    row.windows_default = WindowsDefaultText(row);
    return row;
}

void SetState(StackRow& row, RowState state, std::optional<uint32_t> now = std::nullopt) {
    row.state = state;
    row.now = now;
    row.writable =
        (state == RowState::Read || state == RowState::Absent || state == RowState::Unreadable) &&
        EntryOf(row.id.setting).access == Access::Settable;
}

RowState StateOf(PortStatus status) {
    return status == PortStatus::NotAvailable ? RowState::NotAvailable : RowState::Failed;
}

const WmiInstance* InstanceNamed(const WmiAnswer& answer, const std::string& name) {
    auto found = std::find_if(answer.rows.begin(), answer.rows.end(),
                              [&](const WmiInstance& i) { return i.setting_name == name; });
    return found == answer.rows.end() ? nullptr : &*found;
}

void Fill(StackRow& row, const WmiAnswer& answer, const WmiInstance* instance) {
    if (answer.status != PortStatus::Ok) {
        SetState(row, StateOf(answer.status));
        return;
    }
    std::optional<uint32_t> value =
        instance ? instance->Property(EntryOf(row.id.setting).property) : std::nullopt;
    SetState(row, value ? RowState::Read : RowState::NotAvailable, value);
}

// Which level counts: the effective row says where Windows gives it, else a configured
// Group Policy level does.
bool SetByGroupPolicy(const std::vector<StackRow>& rows) {
    const StackRow* policy = FindRow(rows, {S::AutoTuningGroupPolicy, kGlobalTemplate});
    const StackRow* effective = FindRow(rows, {S::AutoTuningEffective, kGlobalTemplate});
    if (effective != nullptr && effective->state == RowState::Read) {
        return effective->now == kEffectiveGroupPolicy;
    }
    return policy != nullptr && policy->state == RowState::Read &&
           policy->now != kPolicyNotConfigured;
}

std::vector<StackRow> WmiTcpRows(StackPorts& ports, const StackMachine& machine) {
    const std::vector<StackSetting> global = SettingsIn(Store::TcpGlobal);
    const std::vector<StackSetting> per_template = SettingsIn(Store::TcpTemplates);
    std::vector<std::string> properties;
    for (const auto* settings : {&global, &per_template}) {
        for (StackSetting setting : *settings) {
            properties.push_back(EntryOf(setting).property);
        }
    }
    WmiAnswer answer = ports.wmi.Query(WmiClass::TcpSetting, properties);
    std::vector<StackRow> rows;
    const WmiInstance* internet = InstanceNamed(answer, kGlobalTemplate);
    for (StackSetting setting : global) {
        rows.push_back(MakeRow(setting, kGlobalTemplate, "", machine));
        Fill(rows.back(), answer, internet);
    }
    const bool by_policy = SetByGroupPolicy(rows);
    for (StackRow& row : rows) {
        row.set_by_group_policy = row.id.setting == S::AutoTuningLocal && by_policy;
    }
    for (StackSetting setting : per_template) {
        for (const char* name : kTemplates) {
            const WmiInstance* instance = InstanceNamed(answer, name);
            if (answer.status == PortStatus::Ok && instance == nullptr) {
                continue;
            }
            rows.push_back(MakeRow(setting, name, name, machine));
            Fill(rows.back(), answer, instance);
        }
    }
    return rows;
}

// Vista and 7: netsh sets what it has words for, and nothing Zorvane may use reads them
// back; a setting of each template is one global row there.
std::vector<StackRow> NetshTcpRows(const StackMachine& machine) {
    std::vector<StackRow> rows;
    for (Store store : {Store::TcpGlobal, Store::TcpTemplates}) {
        for (StackSetting setting : SettingsIn(store)) {
            const NetshWords& netsh = EntryOf(setting).netsh;
            bool by_netsh = netsh.name != nullptr;
            rows.push_back(MakeRow(setting, "", "", machine));
            if (netsh.choices.count != 0) {
                rows.back().choices.assign(netsh.choices.first,
                                           netsh.choices.first + netsh.choices.count);
            }
            SetState(rows.back(), by_netsh ? RowState::Unreadable : RowState::NotAvailable);
            rows.back().undo_to_default_only = by_netsh;
        }
    }
    return rows;
}

std::vector<StackRow> OffloadRows(StackPorts& ports, const StackMachine& machine) {
    const std::vector<StackSetting> offload = SettingsIn(Store::Offload);
    WmiAnswer answer{PortStatus::NotAvailable, {}};
    if (machine.Reach() == StackReach::Wmi) {
        std::vector<std::string> properties;
        for (StackSetting setting : offload) {
            properties.push_back(EntryOf(setting).property);
        }
        answer = ports.wmi.Query(WmiClass::OffloadGlobalSetting, properties);
    }
    const WmiInstance* instance = answer.rows.empty() ? nullptr : &answer.rows[0];
    std::vector<StackRow> rows;
    for (StackSetting setting : offload) {
        rows.push_back(MakeRow(setting, "", "", machine));
        Fill(rows.back(), answer, instance);
    }
    return rows;
}

std::vector<StackRow> InterfaceRows(StackPorts& ports, const StackMachine& machine) {
    IpInterfaceList list = ports.interfaces.Interfaces();
    std::vector<StackRow> rows;
    if (list.status != PortStatus::Ok) {
        for (StackSetting setting : {S::Ipv4Mtu, S::Ipv6Mtu}) {
            rows.push_back(MakeRow(setting, "", "", machine));
            SetState(rows.back(), StateOf(list.status));
        }
        return rows;
    }
    for (const IpInterface& adapter : list.rows) {
        // Windows' loopback has no MTU of a link (it reads as the largest number).
        if (adapter.mtu == UINT32_MAX) {
            continue;
        }
        StackSetting setting = adapter.family == IpFamily::V4 ? S::Ipv4Mtu : S::Ipv6Mtu;
        StackRow row = MakeRow(setting, std::to_string(adapter.luid), adapter.name, machine);
        row.maximum = std::max(adapter.link_mtu != 0 ? adapter.link_mtu : kLargestMtu, row.minimum);
        row.adapter = adapter;
        SetState(row, RowState::Read, adapter.mtu);
        rows.push_back(std::move(row));
    }
    return rows;
}

// A registry row; `only_present` leaves out a value that is not there.
void AddRegistryRow(std::vector<StackRow>& rows, RegistryReader& reader, StackSetting setting,
                    const std::string& instance, const std::string& label,
                    const StackMachine& machine, bool only_present) {
    RegistryPlace place = RegistryPlaceOf(setting, instance);
    RegistryReader::Read read = reader.Value(place.key, place.name);
    bool present = read.error == kErrorSuccess && read.value;
    if (only_present && !present) {
        return;
    }
    StackRow row = MakeRow(setting, instance, label, machine);
    if (present && IsPlainDword(*read.value)) {
        SetState(row, RowState::Read, DwordOf(read.value->data));
    } else if (present) {
        SetState(row, RowState::Read);  // not a number: only removal makes sense
    } else {
        SetState(row, read.error == kErrorFileNotFound || read.error == kErrorSuccess
                          ? RowState::Absent
                          : RowState::Failed);
    }
    rows.push_back(std::move(row));
}

std::vector<StackRow> RegistryRows(StackPorts& ports, const StackMachine& machine) {
    std::vector<std::string> adapters;
    EnumerateSubkeys(ports.registry, RegistryRoot::LocalMachine, kTcpipInterfaces,
                     [&](const std::string& name) { adapters.push_back(name); });
    std::vector<StackRow> rows;
    RegistryReader reader(ports.registry, RegistryRoot::LocalMachine);
    for (const std::string& adapter : adapters) {
        AddRegistryRow(rows, reader, S::TcpAckFrequency, adapter, adapter, machine, false);
    }
    for (const char* key : {kTcpipParameters, kTcpipInterfaces}) {
        AddRegistryRow(rows, reader, S::MisplacedTcpAckFrequency, key, key, machine, true);
        AddRegistryRow(rows, reader, S::MisplacedTcpNoDelay, key, key, machine, true);
    }
    for (const std::string& adapter : adapters) {
        std::string key = std::string(kTcpipInterfaces) + "\\" + adapter;
        AddRegistryRow(rows, reader, S::MisplacedTcpNoDelay, key, adapter, machine, true);
    }
    for (const char* name : kClassicValues) {
        AddRegistryRow(rows, reader, S::ClassicReceiveWindow, name, name, machine, true);
    }
    return rows;
}

}  // namespace

std::string ValueText(const StackRow& row, uint32_t value) {
    for (const Choice& choice : row.choices) {
        if (choice.value == value) {
            return choice.text;
        }
    }
    return std::to_string(value);
}

bool Allows(const StackRow& row, uint32_t value) {
    if (!row.choices.empty()) {
        return std::any_of(row.choices.begin(), row.choices.end(),
                           [&](const Choice& choice) { return choice.value == value; });
    }
    return value >= row.minimum && value <= row.maximum;
}

namespace {

// A range's usual values within its bounds, an adapter's own MTU (its upper bound) and
// Windows' default, in order.
std::vector<uint32_t> RangeValues(const StackRow& row) {
    const ValueList usual = EntryOf(row.id.setting).range.usual;
    std::vector<uint32_t> values;
    for (size_t i = 0; i < usual.count; ++i) {
        values.push_back(usual.first[i]);
    }
    if (row.adapter) {
        values.push_back(row.maximum);
    }
    if (row.default_value) {
        values.push_back(*row.default_value);
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    values.erase(std::remove_if(values.begin(), values.end(),
                                [&](uint32_t value) { return !Allows(row, value); }),
                 values.end());
    return values;
}

}  // namespace

std::vector<Offer> Offers(const StackRow& row) {
    std::vector<Offer> offers;
    if (!row.writable) {
        return offers;
    }
    std::vector<uint32_t> values;
    if (!row.choices.empty()) {
        for (const Choice& choice : row.choices) {
            values.push_back(choice.value);
        }
    } else if (!RemovalOnly(row.id.setting)) {
        values = RangeValues(row);
    }
    for (uint32_t value : values) {
        offers.push_back(
            {value, ValueText(row, value) + (value == row.default_value ? kDefaultMark : "")});
    }
    if (IsRegistrySetting(row.id.setting)) {
        offers.push_back({std::nullopt, kRemoveText});
    }
    return offers;
}

bool ReadBackMatches(const RowId& row, uint32_t written, uint32_t read,
                     const StackMachine& machine) {
    return read == written || (row.setting == S::CongestionProvider &&
                               written == kProviderDefault && DefaultValue(row, machine) == read);
}

std::string NowText(const StackRow& row) {
    switch (row.state) {
        case RowState::Read:
            return row.now ? ValueText(row, *row.now) : "(not a number)";
        case RowState::Absent:
            return kNotSet;
        case RowState::Unreadable:
            return "cannot be read on this Windows";
        case RowState::NotAvailable:
            return "not available";
        case RowState::Failed:
            break;
    }
    return "could not be read";
}

const char* TakesEffectText(TakesEffect when) {
    // In the enum's order.
    static constexpr const char* kTexts[] = {"At once", "New connections", "Adapter restart",
                                             "Restart"};
    return kTexts[static_cast<size_t>(when)];
}

std::vector<StackPiece> PiecesToRead(const StackMachine& machine) {
    if (machine.Reach() == StackReach::None) {
        return {};
    }
    return {StackPiece::TcpSettings, StackPiece::OffloadSettings, StackPiece::IpInterfaces,
            StackPiece::Registry};
}

std::vector<StackRow> ReadPiece(StackPiece piece, StackPorts& ports, const StackMachine& machine) {
    switch (piece) {
        case StackPiece::TcpSettings:
            return machine.Reach() == StackReach::Wmi ? WmiTcpRows(ports, machine)
                                                      : NetshTcpRows(machine);
        case StackPiece::OffloadSettings:
            return OffloadRows(ports, machine);
        case StackPiece::IpInterfaces:
            return InterfaceRows(ports, machine);
        case StackPiece::Registry:
            break;
    }
    return RegistryRows(ports, machine);
}

std::vector<StackRow> ReadStackRows(StackPorts& ports, const StackMachine& machine) {
    std::vector<StackRow> rows;
    for (StackPiece piece : PiecesToRead(machine)) {
        std::vector<StackRow> more = ReadPiece(piece, ports, machine);
        rows.insert(rows.end(), std::make_move_iterator(more.begin()),
                    std::make_move_iterator(more.end()));
    }
    return rows;
}

const StackRow* FindRow(const std::vector<StackRow>& rows, const RowId& id) {
    auto found =
        std::find_if(rows.begin(), rows.end(), [&](const StackRow& row) { return row.id == id; });
    return found == rows.end() ? nullptr : &*found;
}

}  // namespace zv::netstack
