// The modern stack's settings as rows like Current Settings': what each is, where Windows
// keeps it and how Zorvane reads and writes it, the Windows default of this release, when a
// change takes effect, the values allowed, and its value now. Rows are read in pieces (one
// slow query each) so that a window can show each piece as it arrives.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "netstack/stack_ports.h"
#include "netstack/stack_settings.h"

namespace zv::netstack {

enum class RowState {
    Read,          // `now` holds the value
    Absent,        // a registry value that is not there (Windows' default applies)
    Unreadable,    // settable, but this release gives no way to read it (netsh on Vista/7)
    NotAvailable,  // this Windows (or Wine) has no such setting
    Failed,        // the query failed or timed out
};

struct StackRow {
    RowId id;
    std::string label;  // "Congestion provider (Internet)", "IPv4 MTU: Ethernet"
    std::string where;  // "WMI MSFT_NetTCPSetting.CongestionProvider", "netsh", a key
    RowState state = RowState::NotAvailable;
    std::optional<uint32_t> now;
    std::string windows_default;  // text, for this release
    // The same as a value, where it is one ("(not set)" and "The adapter's own" are not).
    std::optional<uint32_t> default_value;
    TakesEffect takes_effect = TakesEffect::AtOnce;
    // The values a user may pick: `choices` when the setting has names, else the range.
    std::vector<Choice> choices;
    uint32_t minimum = 0;
    uint32_t maximum = 0;
    bool writable = false;  // false for the Group Policy and effective levels, and Failed rows
    bool set_by_group_policy = false;  // auto-tuning: the local level is not what counts
    // Undo can put back only the Windows default, as the old value cannot be read.
    bool undo_to_default_only = false;
    // Adapter rows: the interface they belong to, for the MTU change.
    std::optional<IpInterface> adapter;
};

// "Normal", "CUBIC", "1500", "(not set)", "not available", "could not be read", ...
std::string NowText(const StackRow& row);
// "At once", "New connections", "Adapter restart", "Restart"
const char* TakesEffectText(TakesEffect when);
// The choice's text, or the number.
std::string ValueText(const StackRow& row, uint32_t value);
// Whether the value is one the row allows.
bool Allows(const StackRow& row, uint32_t value);

// A value the window offers for a row: a number, or nothing for the removal of a registry
// value (Windows' default then applies), with its text ("Normal", "2 (Windows' default)").
struct Offer {
    std::optional<uint32_t> value;
    std::string text;
};
// The row's choices, or the values usual for its setting within its range (an adapter's own
// MTU among them); Windows' default among them; and removal where the row is a registry
// value. Nothing for a row that cannot be changed.
std::vector<Offer> Offers(const StackRow& row);

// Whether a value read back after a write shows that Windows took it: the same value, or,
// after "Default", the provider this release uses by default, which MSFT_NetTCPSetting
// reports in place of Default.
bool ReadBackMatches(const RowId& row, uint32_t written, uint32_t read,
                     const StackMachine& machine);

// One slow read each; a window's worker reads them in this order and shows each piece's
// rows as it arrives.
enum class StackPiece { TcpSettings, OffloadSettings, IpInterfaces, Registry };
std::vector<StackPiece> PiecesToRead(const StackMachine& machine);
std::vector<StackRow> ReadPiece(StackPiece piece, StackPorts& ports, const StackMachine& machine);
// Every piece, in order.
std::vector<StackRow> ReadStackRows(StackPorts& ports, const StackMachine& machine);

// The row with the id, or null.
const StackRow* FindRow(const std::vector<StackRow>& rows, const RowId& id);

// The text id a snapshot names a setting by ("congestion-provider"), and back.
const char* SettingKey(StackSetting setting);
std::optional<StackSetting> SettingOfKey(const std::string& key);

}  // namespace zv::netstack
