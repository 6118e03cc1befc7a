// The texts the companion makes of its probes: the tray tip, the notices when the link
// drops or returns, the history window's figures and the log line.
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

inline constexpr std::size_t kTipLimit = 127;

// "Zorvane" before the first probe; "Zorvane - connected, 23 ms, loss 0% (10 min) 1%
// (1 h), jitter 2 ms, 95th percentile 40 ms" with as many of the figures as `limit`
// characters hold (the state may also be "reachable by TCP only (may be a proxy), connect
// 30 ms" or "name lookup failed (link up), 23 ms"); "Zorvane - not connected since 14:05
// (your provider)" (with the date
// when that was another day), or "Zorvane - not connected for more than 24 hours" once
// the outage is older than that.
std::string TrayTipText(const ProbeHistory& history, const Moment& now,
                        std::size_t limit = kTipLimit);

// "Zorvane - no answer from the probe since 14:05" (with the date when that was another
// day): the probe never came back, so the state is unknown.
std::string ProbeSilentTipText(const WallTime& since, const WallTime& now);

// The history window's lines: the state now, round trips, then loss ("3 lost probes of
// 120"), drops (outages that began after an answer, as the notices count them) and the
// longest outage, the recent loss, and the outages by place. Probes that reached the host
// by TCP alone follow the round trips, apart from them.
std::string NowLine(const ProbeHistory& history, const Moment& now);
std::string RoundTripLine(const HistoryFigures& figures);
std::string LossLine(const HistoryFigures& figures);
std::string RecentLossLine(const RecentFigures& recent);
std::string WhereLine(const HistoryFigures& figures);

// "2025-03-01T14:05:30+01:00 www.example.org 23 ms; loss 0% (10 min) 1% (1 h);
// jitter 2 ms; 95th percentile 40 ms", "... 30 ms (TCP only, may be a proxy); ...", "...
// 23 ms (name lookup failed); ..." or "... lost (your provider); ...", with CR LF.
std::string LogLine(const Probe& probe, const std::string& host, const RecentFigures& recent);

}  // namespace zv::monitor
