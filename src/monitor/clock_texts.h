// The companion's times and lengths of time as text, on the proleptic Gregorian calendar
// in the local time each wall-clock reading carries.
#pragma once

#include <cstdint>
#include <string>

#include "monitor/probe_history.h"

namespace zv::monitor {

// Local time as "2025-03-01T14:05:30+01:00".
std::string IsoTime(const WallTime& time);

// A length of time as a person says it: "45 s", "3 min", "2 h 5 min".
std::string DurationText(int64_t ms);

// When something began, as seen at `now`: "14:05", or "2025-03-01 14:05" when that was
// another day.
std::string SinceText(const WallTime& since, const WallTime& now);

}  // namespace zv::monitor
