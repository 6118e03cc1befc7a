// What the table of settings says of groups of rows, and where the stack's registry rows
// live: shared by the reads, the writes and Undo.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "netstack/stack_settings.h"
#include "sysconfig/settings_catalogue.h"

namespace zv::netstack {

// The settings Windows keeps in the store, in the table's order.
std::vector<StackSetting> SettingsIn(Store store);

// The registry keys the stack's registry rows live in.
constexpr char kTcpipParameters[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr char kTcpipInterfaces[] =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";

// The rows Zorvane only ever removes: values Windows does not read.
bool RemovalOnly(StackSetting setting);

// The key and value name of a registry row.
struct RegistryPlace {
    std::string key;
    std::string name;
};
RegistryPlace RegistryPlaceOf(StackSetting setting, const std::string& instance);
bool IsRegistrySetting(StackSetting setting);
bool IsMtu(StackSetting setting);

// A registry row as a snapshot records it: by key and value name, so that the value comes
// back with its kind and bytes whatever wrote it (a TCPNoDelay a script wrote as REG_SZ); a
// classic receive-window value as the catalogue row it is. Nothing for any other row.
std::optional<CatalogueRow> SnapshotRowOf(const RowId& id);
// Whether a snapshot's registry value is one of the stack's rows, that Undo may put back.
bool IsStackRegistryValue(const std::string& key, const std::string& name);

}  // namespace zv::netstack
