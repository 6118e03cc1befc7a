// The texts the companion makes of its probes: the tray tip, the notices when the link
// drops or returns, the history window's figures, the log line and the CSV export.
#pragma once

#include <cstdint>
#include <string>

#include "monitor/probe_history.h"

namespace zv::monitor {

// Local time as "2025-03-01T14:05:30+01:00".
std::string IsoTime(const WallTime& time);

// A length of time as a person says it: "45 s", "3 min", "2 h 5 min".
std::string DurationText(int64_t ms);

// A share of probes in whole percent; a loss too small to round up to 1 is "<1", and one
// short of all too close to round down to 99 is ">99".
std::string LossPercentText(int lost, int probes);

// "Zorvane" before the first probe; "Zorvane - connected, 23 ms, 0% loss (last hour)";
// "Zorvane - not connected since 14:05" (with the date when that was another day), or
// "Zorvane - not connected for more than 24 hours" once the outage is older than that.
std::string TrayTipText(const ProbeHistory& history, const Moment& now);

// Two lines for the history window: round trips, then loss, drops and longest outage.
std::string RoundTripLine(const HistoryFigures& figures);
std::string LossLine(const HistoryFigures& figures);

// "2025-03-01T14:05:30+01:00 www.example.org 23 ms" or "... lost", with CR LF.
std::string LogLine(const Probe& probe, const std::string& host);

// The whole history, oldest first: a header, then one row per probe, its fields apart by
// the list separator of the user's locale (";" where the comma is the decimal mark). The
// local time and its offset from UTC stand in columns of their own, so that spreadsheets
// read the time as one.
std::string HistoryCsv(const ProbeHistory& history, const std::string& host,
                       const std::string& separator);

}  // namespace zv::monitor
