// The rules a tuning choice must meet, in one place: the checks Apply makes before it
// saves a Manual-mode choice, and what the reader of "Zorvane.cfg" accepts. Each value is
// refused by one rule that both use, so a file the program saved always loads back and a
// hand-edited file never brings into the registry what Apply would have refused.
#pragma once

#include <optional>
#include <string>

#include "tuning/tuning_settings.h"

namespace zv {

// The first check a Manual-mode record fails, as the message Apply shows for it, or
// nothing when every check passes. In order: the connection type, the connections per
// HTTP 1.0 and HTTP 1.1 server, then MTU, RWIN, TTL, Session Keep Alive and NDI Cache
// where "Custom" is chosen (a typed value outside its range, a list without a pick).
std::optional<std::string> ManualSettingsFailure(const TuningSettings& settings);

// True when the saved choice is one the settings window can produce: a listed connection
// type and mode and, in Manual mode, values that agree with their Custom flags and list
// positions (a custom RWIN being its multiplier times the MTU in effect).
bool IsValidSavedChoice(const TuningSettings& settings);

}  // namespace zv
