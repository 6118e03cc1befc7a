// The history window's figure lines under the graph, as one table: each row is a line's
// control ID and the function that makes its text, in the order the lines stand.
#pragma once

#include <string>
#include <vector>

#include "monitor/bloat_verdict.h"
#include "monitor/link_words.h"
#include "monitor/probe_history.h"

namespace zv::monitor::history_lines {

// The lines' control IDs, which the real window and the test drivers share, top to bottom.
enum Id : int {
    lblNow = 211,        // "Now: connected, 23 ms"
    lblRoundTrip = 204,  // "Round trip: min 20 ms, average 30 ms, max 40 ms"
    lblLoss = 205,       // "Loss: 3% (3 lost probes of 120), drops: 1, longest outage: 2 min"
    lblRecent = 212,     // "Loss in the last 10 minutes: 0%, last hour: 1%"
    lblWhere = 213,      // "Outages: your network 1, your provider 0, beyond your provider 2"
    lblLoad = 231,   // "Load: receive 9.6 Mbit/s, send 180 kbit/s, 96% of the highest seen (busy)"
    lblBloat = 232,  // "Latency rises by 320 ms when your link is busy (bufferbloat), grade D"
    lblBloatFigures = 233,  // "Idle: median 20 ms, 95th percentile 25 ms; busy: median 340 ms, ..."
    lblBloatAdvice = 234,   // "Helps: a router with smart queue management, or ..."
};

}  // namespace zv::monitor::history_lines

namespace zv::monitor {

// What the lines are made of at each refresh.
struct HistoryLineFacts {
    const ProbeHistory& history;
    std::string now;       // the state now, as the monitor tells it
    HistoryFigures span;   // the span the graph shows
    RecentFigures recent;  // the last 10 minutes and hour up to the end of that span
    BloatFigures bloat;    // the latency when busy, over the day kept
    ProbeLoad load;        // the newest probe's
};

struct HistoryLine {
    int id;
    std::string (*text)(const HistoryLineFacts& facts);
};

// Top to bottom, which is also the window's tab order.
const std::vector<HistoryLine>& HistoryLines();

// The state now, round trips, then loss ("3 lost probes of 120"), drops (outages that began
// after an answer, as the notices count them) and the longest outage, the recent loss, and
// the outages by place. Probes that reached the host by TCP alone follow the round trips,
// apart from them.
std::string NowLine(const ProbeHistory& history, const Moment& now);
std::string RoundTripLine(const HistoryFigures& figures);
std::string LossLine(const HistoryFigures& figures);
std::string RecentLossLine(const RecentFigures& recent);
std::string WhereLine(const HistoryFigures& figures);

}  // namespace zv::monitor
