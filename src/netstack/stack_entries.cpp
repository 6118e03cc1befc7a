#include "netstack/stack_entries.h"

namespace zv::netstack {
namespace {

using S = StackSetting;

// The stack's own registry values as snapshot rows: a snapshot takes only an entry's value
// name (and the row's key); Apply never sees these.
EntryData NeverWritten(const TuningSettings&) {
    return {int32_t{0}, true};
}
constexpr CatalogueEntry kStackRegistryValues[] = {
    {RegistryLayout::Nt,
     {"TcpAckFrequency", NeverWritten},
     KeyPlace::Fixed,
     nullptr,
     "TcpAckFrequency",
     kRegDword,
     "2",
     ReleaseRange::None()},
    {RegistryLayout::Nt,
     {"TCPNoDelay", NeverWritten},
     KeyPlace::Fixed,
     nullptr,
     "TCPNoDelay",
     kRegDword,
     "(not set)",
     ReleaseRange::None()},
};

bool IsAdapterKeyName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

template <typename Entries>
const CatalogueEntry* FixedNtEntry(const Entries& entries, const std::string& name) {
    for (const CatalogueEntry& entry : entries) {
        if (entry.layout == RegistryLayout::Nt && entry.place == KeyPlace::Fixed &&
            name == entry.value_name) {
            return &entry;
        }
    }
    return nullptr;
}

bool IsAdapterKey(const std::string& key) {
    const std::string interfaces = std::string(kTcpipInterfaces) + "\\";
    return key.compare(0, interfaces.size(), interfaces) == 0 &&
           IsAdapterKeyName(key.substr(interfaces.size()));
}

}  // namespace

std::vector<StackSetting> SettingsIn(Store store) {
    std::vector<StackSetting> settings;
    for (const StackEntry& entry : settings::kTable) {
        if (entry.store == store) {
            settings.push_back(entry.setting);
        }
    }
    return settings;
}

bool RemovalOnly(StackSetting setting) {
    return EntryOf(setting).store == Store::StrayRegistry;
}

bool IsRegistrySetting(StackSetting setting) {
    return EntryOf(setting).store == Store::AdapterRegistry || RemovalOnly(setting);
}

bool IsMtu(StackSetting setting) {
    return EntryOf(setting).store == Store::IpInterface;
}

// An adapter row's instance is its Interfaces subkey; a stray value's, the key it was found
// in, or, for a row without a value name of its own (the classic receive window), its name
// under Parameters.
RegistryPlace RegistryPlaceOf(StackSetting setting, const std::string& instance) {
    const StackEntry& entry = EntryOf(setting);
    if (entry.store == Store::AdapterRegistry) {
        return {std::string(kTcpipInterfaces) + "\\" + instance, entry.property};
    }
    if (entry.property == nullptr) {
        return {kTcpipParameters, instance};
    }
    return {instance, entry.property};
}

// A classic value takes the catalogue's own row, so that the first snapshot, which holds it
// from Zorvane's first Apply, keeps that older value, and Undo All Changes does not bring
// back what an Apply of Zorvane's wrote and a repair removed.
std::optional<CatalogueRow> SnapshotRowOf(const RowId& id) {
    if (!IsRegistrySetting(id.setting)) {
        return std::nullopt;
    }
    RegistryPlace place = RegistryPlaceOf(id.setting, id.instance);
    if (id.setting != S::ClassicReceiveWindow) {
        return CatalogueRow{FixedNtEntry(kStackRegistryValues, place.name), place.key, ""};
    }
    const CatalogueEntry* entry = FixedNtEntry(SettingsCatalogue(), place.name);
    return entry ? std::optional<CatalogueRow>(CatalogueRow{entry, entry->key, ""}) : std::nullopt;
}

bool IsStackRegistryValue(const std::string& key, const std::string& name) {
    bool known_key = key == kTcpipParameters || key == kTcpipInterfaces || IsAdapterKey(key);
    if (!known_key) {
        return false;
    }
    for (const StackEntry& entry : settings::kTable) {
        if (IsRegistrySetting(entry.setting) && entry.property && name == entry.property) {
            return true;
        }
    }
    return false;
}

const char* SettingKey(StackSetting setting) {
    return EntryOf(setting).key;
}

std::optional<StackSetting> SettingOfKey(const std::string& key) {
    for (const StackEntry& entry : settings::kTable) {
        if (key == entry.key) {
            return entry.setting;
        }
    }
    return std::nullopt;
}

}  // namespace zv::netstack
