// Every registry value the program writes or removes, in both layouts, with what a user
// needs to judge it: the setting, the key and value name, the kind, Windows' own default,
// which releases read it and why the others do not. The writer, Restore, snapshots, the
// Current Settings report and the deployment export all read this one table, so a key
// path or value name is spelt once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/windows_release.h"
#include "sysconfig/registry_access.h"
#include "sysconfig/registry_port.h"
#include "tuning/tuning_settings.h"

namespace zv {

// What Apply writes for a value from the record: the data, and whether the value is
// removed instead (a tuning value left to Windows).
struct EntryData {
    RegistryData data;
    bool remove;
};

// A setting as the user knows it, and where its data comes from: a field of the record, or
// a constant of the program.
struct CatalogueSetting {
    const char* name;
    EntryData (*data_of)(const TuningSettings& settings);
};

// Which key a value lives in: a fixed key, or one key per interface subkey of the
// layout's interface key (under it, or the service key named after the interface).
enum class KeyPlace { Fixed, UnderInterface, InterfaceService };

struct CatalogueEntry {
    RegistryLayout layout;  // Win9x or Nt
    CatalogueSetting setting;
    KeyPlace place;
    const char* key;         // for KeyPlace::Fixed only
    const char* value_name;  // "" is the key's default value
    uint32_t kind;
    const char* windows_default;
    // The releases that read the value, and why the others do not; a note for a value
    // only part of Windows reads.
    ReleaseRange readers;
    const char* why_not_read = nullptr;
    const char* partly_read = nullptr;
};

// Every entry of both layouts; within a layout in write order. A constant table, so
// nothing is built at start-up.
struct CatalogueEntries {
    const CatalogueEntry* first;
    size_t count;
    const CatalogueEntry* begin() const { return first; }
    const CatalogueEntry* end() const { return first + count; }
};
CatalogueEntries SettingsCatalogue();

// The key whose subkeys are the interfaces (NT) or transports (9x) of a layout.
std::string InterfaceKeyOf(RegistryLayout layout);

// One value on this machine: an entry, with its key made for one interface subkey where
// the entry is per interface.
struct CatalogueRow {
    const CatalogueEntry* entry;
    std::string key;
    std::string interface_name;  // "" for a fixed key
};

// The row as a user tells it from the others: "MTU: Interfaces\{A}\MTU",
// "Receive window (RWIN): TcpWindowSize", "NDI cache size: (default value)".
std::string RowLabel(const CatalogueRow& row);

// The rows of the release's layout in write order, per-interface entries once for each
// subkey the registry lists now; none for an unrecognised release.
std::vector<CatalogueRow> CatalogueRows(RegistryPort& registry, WindowsRelease release);

// Whether Zorvane writes the value `name` of `key` in either layout: a fixed key's, or an
// interface's, when `adapter_key` gets the interface's own key (under the layout's
// interface key); it stays empty for a fixed key.
bool IsCatalogueValue(const std::string& key, const std::string& name, std::string* adapter_key);
// Whether the key is one Zorvane writes into, or one above such a key (a change creates
// those too where they are missing).
bool IsCatalogueKeyOrAbove(const std::string& key);

// What Apply writes for the entry from the record.
EntryData DataFor(const CatalogueEntry& entry, const TuningSettings& settings);

// The same as SetRegistryValue would carry it out.
PlannedWrite PlannedWriteFor(const CatalogueEntry& entry, const TuningSettings& settings);

// How far this Windows reads the value.
enum class Reading { Read, Partly, NotRead };
Reading ReadingOn(const CatalogueEntry& entry, WindowsRelease release);
// "Yes", "Partly: ..." or "No: ..." for the report.
std::string ReadingText(const CatalogueEntry& entry, WindowsRelease release);

}  // namespace zv
