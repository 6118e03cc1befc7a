// The item texts of the settings window's lists, and the value each list position stands
// for. Positions are 16-bit like the record's list positions; a position outside its list
// (NoSelection included) has no value.
//
// The order of every list is part of the program's data: Zorvane.cfg stores positions
// (the connection type, RWINIndex, SKAIndex, NDIIndex, Http10ConnectionsIndex,
// Http11ConnectionsIndex) and the preset table names its values by position. Reordering or removing
// an item would load saved choices and presets as other values; new items may only go at the end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tuning/tuning_settings.h"

namespace zv {

constexpr int kConnectionTypeCount = 5;

// When the MTU is left to Windows, a custom RWIN is reckoned on the usual Ethernet MTU.
constexpr int32_t kRwinMtuWhenNotSet = 1500;

std::vector<std::string> ConnectionTypeItems();  // connection_type_list
std::vector<std::string> RwinItems();            // rwin_value: "x4" ... "x255"
std::vector<std::string> SkaItems();             // ska_value: "1 min." ... "60 min."
std::vector<std::string> NdiItems();             // ndi_value: "0", "2" ... "64"
std::vector<std::string> MscpsItems();  // http10_connections and http11_connections: "2" ... "60"

std::optional<int32_t> RwinMultiplierAt(int16_t position);
std::optional<int32_t> SkaAt(int16_t position);  // milliseconds
std::optional<int32_t> NdiAt(int16_t position);
std::optional<int32_t> MscpsAt(int16_t position);

// The RWIN of a picked multiplier: multiplier x MTU (x 1500 when the MTU is NotSet);
// nothing when the position is outside the list or the product does not fit 32 bits.
std::optional<int32_t> CustomRwin(int16_t position, int32_t mtu);

// The custom RWIN a record stands for: its multiplier times the MTU in effect, which is
// the custom MTU, or 1500 while the MTU is at Windows Default.
std::optional<int32_t> CustomRwinOf(const TuningSettings& settings);

// The record as Apply saves and writes it. The RWIN list reckons a pick on the MTU typed
// so far, which may be half-typed or empty; so a custom RWIN is reckoned anew on the MTU
// in effect when the values are taken, and the settings file then always loads back.
TuningSettings AsApplied(TuningSettings settings);

}  // namespace zv
