// The tray icon's tip texts: the state of the link with as many recent figures as the tip
// holds, or the probe's silence.
#pragma once

#include <cstddef>
#include <string>

#include "monitor/probe_history.h"

namespace zv::monitor {

inline constexpr std::size_t kTipLimit = 127;

// "Zorvane" before the first probe; "Zorvane - connected, 23 ms, loss 0% (10 min) 1%
// (1 h), jitter 2 ms, 95th percentile 40 ms, busy +320 ms (D)" (the last the short form of
// the latency when busy, `bloat_part`) with as many of the figures as `limit`
// characters hold (the state may also be "reachable by TCP only (may be a proxy), connect
// 30 ms" or "name lookup failed (link up), 23 ms"); "Zorvane - not connected since 14:05
// (your provider)" (with the date
// when that was another day), or "Zorvane - not connected for more than 24 hours" once
// the outage is older than that.
std::string TrayTipText(const ProbeHistory& history, const Moment& now,
                        std::size_t limit = kTipLimit, const std::string& bloat_part = "");

// "Zorvane - no answer from the probe since 14:05" (with the date when that was another
// day): the probe never came back, so the state is unknown.
std::string ProbeSilentTipText(const WallTime& since, const WallTime& now);

}  // namespace zv::monitor
