// The words every text about the link shares: its state, a round trip, a loss in percent,
// where an outage lay and the recent figures.
#pragma once

#include <cstdint>
#include <string>

#include "monitor/probe_history.h"

namespace zv::monitor {

// "23 ms".
std::string MsText(int32_t ms);

// A share of probes in whole percent; a loss too small to round up to 1 is "<1", and one
// short of all too close to round down to 99 is ">99".
std::string LossPercentText(int lost, int probes);

// "your network", "your provider", "beyond your provider"; empty for Unknown.
const char* WhereText(Where where);
// " (your provider)"; empty for Unknown.
std::string WhereMark(Where where);

// The recent figures every probe is told with: the last 10 minutes and the last hour up
// to a moment of the forward-only count.
inline constexpr int64_t kRecentSpanMs = 10 * kMinuteMs;
struct RecentFigures {
    HistoryFigures ten_minutes;
    HistoryFigures hour;
};
RecentFigures Recent(const ProbeHistory& history, int64_t at_ms);
// "loss 0% (10 min) 1% (1 h)"
std::string RecentLossText(const RecentFigures& recent);

// The link's state after the latest probe: "connected, 23 ms", "reachable by TCP only,
// connect 30 ms", "name lookup failed (link up), 23 ms" or "not connected since 14:05".
std::string LinkStateText(const ProbeHistory& history, const Probe& latest, const Moment& now);

}  // namespace zv::monitor
