// The history graph as geometry: where the up and down periods, the round-trip line and
// the loss marks fall in a plot of a given size in pixels. The window only draws it.
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

struct GraphScene {
    int axis_max_ms = 0;  // the round trip at the top edge
    std::vector<GraphBand> bands;
    // Runs of answered probes; a loss or a gap ends a run.
    std::vector<std::vector<GraphPoint>> lines;
    std::vector<int> loss_x;
};

// The smallest of 10, 20, 50, 100, ... 10000 ms that holds the round trip.
int AxisMaximum(int32_t max_round_trip_ms);

// The probes of [from_ms, to_ms] in a plot `width` by `height` pixels, time running left to
// right and the round trip bottom to top.
GraphScene BuildGraph(const ProbeHistory& history, int64_t from_ms, int64_t to_ms, int width,
                      int height);

}  // namespace zv::monitor
