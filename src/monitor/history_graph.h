// The history graph as geometry: where the up and down periods, the round-trip line and
// the loss marks fall in a plot of a given size in pixels. The window only draws it. A
// month holds far more probes than a plot has pixel columns: the probes of each column are
// reduced to one point (their median), the range they spread over and a loss mark, so that
// drawing costs the columns, not the probes.
#pragma once

#include <cstdint>
#include <vector>

#include "monitor/probe_history.h"

namespace zv::monitor {

struct GraphPoint {
    int x = 0;
    int y = 0;
};

struct GraphBand {
    int left = 0;
    int right = 0;
    bool up = false;
    Where where = Where::Unknown;  // of a down band: its colour
};

// The spread of a column's round trips, top to bottom, where it holds more than one.
struct GraphRange {
    int x = 0;
    int top = 0;
    int bottom = 0;
};

struct GraphScene {
    int axis_max_ms = 0;  // the round trip at the top edge
    // Stretches with no probe (the computer was off or asleep) lie between the bands.
    std::vector<GraphBand> bands;
    // Runs of answered probes; a loss or a gap ends a run.
    std::vector<std::vector<GraphPoint>> lines;
    std::vector<GraphRange> ranges;
    std::vector<int> loss_x;  // one mark per column with a loss
};

// The probes of one pixel column: their echo round trips (TCP connects aside), the lost ones,
// and whether the line comes into its point from the column before (no loss, no TCP probe and
// no gap since that column's last answer).
struct GraphColumn {
    int x = 0;
    int answered = 0;
    int32_t min_ms = 0;
    int32_t median_ms = 0;  // as Median's
    int32_t max_ms = 0;
    int lost = 0;
    bool joins_previous = false;
};

// The columns holding a probe sent in [from_ms, to_ms], left to right, over a plot `width`
// pixels wide; of either record (probe_history.h).
template <typename Record>
std::vector<GraphColumn> ReduceColumns(const Record& history, int64_t from_ms, int64_t to_ms,
                                       int width);

// The smallest of 10, 20, 50, 100, ... 10000 ms that holds the round trip.
int AxisMaximum(int32_t max_round_trip_ms);

// The probes of [from_ms, to_ms] in a plot `width` by `height` pixels, time running left to
// right and the round trip bottom to top.
template <typename Record>
GraphScene BuildGraph(const Record& history, int64_t from_ms, int64_t to_ms, int width, int height);

}  // namespace zv::monitor
