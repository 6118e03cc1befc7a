// The table behind the rows, shared by the reads, the writes and Undo: one entry per
// setting, in the enum's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "netstack/stack_catalogue.h"
#include "sysconfig/settings_catalogue.h"

namespace zv::netstack {

struct ChoiceList {
    const Choice* first;
    size_t count;
};

struct ValueList {
    const uint32_t* first;
    size_t count;
};

struct StackEntry {
    StackSetting setting;
    const char* key;       // the id a snapshot names it by
    const char* name;      // the row's label, before its instance
    const char* property;  // the WMI property or registry value name; nullptr: the instance
    TakesEffect takes_effect;
    ChoiceList choices;
    uint32_t minimum;
    uint32_t maximum;
    // Of a range: the values a user is likely to want, offered between its ends.
    ValueList usual;
};

const StackEntry& EntryOf(StackSetting setting);

// The numbers of the choices the reads and checks name, as WMI numbers them.
constexpr uint32_t kDisabled = 0;  // of an on/off setting, and the lowest auto-tuning level
constexpr uint32_t kEnabled = 1;
constexpr uint32_t kLevelNormal = 3;
constexpr uint32_t kLevelExperimental = 4;
constexpr uint32_t kPolicyNotConfigured = 255;
constexpr uint32_t kEffectiveGroupPolicy = 1;
constexpr uint32_t kNewReno = 1;
constexpr uint32_t kCubic = 5;
constexpr uint32_t kBbr2 = 6;
constexpr uint32_t kProviderDefault = 0;

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

// A registry row as a snapshot records it: by key and value name, so that the value comes
// back with its kind and bytes whatever wrote it (a TCPNoDelay a script wrote as REG_SZ); a
// classic receive-window value as the catalogue row it is. Nothing for any other row.
std::optional<CatalogueRow> SnapshotRowOf(const RowId& id);
// Whether a snapshot's registry value is one of the stack's rows, that Undo may put back.
bool IsStackRegistryValue(const std::string& key, const std::string& name);

// The templates of MSFT_NetTCPSetting whose congestion provider a row shows, in order.
constexpr const char* kTemplates[] = {"Internet", "Datacenter", "InternetCustom",
                                      "DatacenterCustom", "Compat"};
// The instance the global TCP settings are read from and written to.
constexpr char kGlobalTemplate[] = "Internet";

}  // namespace zv::netstack
