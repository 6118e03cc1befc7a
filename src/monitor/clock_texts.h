// The companion's times and lengths of time as text, on the proleptic Gregorian calendar
// in the local time each wall-clock reading carries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "monitor/probe_history.h"

namespace zv::monitor {

// Local time as "2025-03-01T14:05:30+01:00".
std::string IsoTime(const WallTime& time);

// Local time as "2025-03-01 14:05:30", without its offset.
std::string LocalTimeText(const WallTime& time);
// An offset from UTC as "+01:00".
std::string OffsetText(int offset_min);

// A day of the calendar, counted in days since 1970-01-01.
using DayNumber = int64_t;
// The local day of a moment.
DayNumber LocalDay(const WallTime& time);
// "2025-03-01".
std::string DayText(DayNumber day);
// A day written as "2025-03-01" (a real day of the calendar); nothing otherwise.
std::optional<DayNumber> ParseDay(const std::string& text);

// A length of time as a person says it: "45 s", "3 min", "2 h 5 min".
std::string DurationText(int64_t ms);

// When something began, as seen at `now`: "14:05", or "2025-03-01 14:05" when that was
// another day.
std::string SinceText(const WallTime& since, const WallTime& now);

}  // namespace zv::monitor
