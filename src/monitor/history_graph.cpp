#include "monitor/history_graph.h"

#include <algorithm>

namespace zv::monitor {

int AxisMaximum(int32_t max_round_trip_ms) {
    static const int kSteps[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};
    for (int step : kSteps) {
        if (max_round_trip_ms <= step) {
            return step;
        }
    }
    return kSteps[std::size(kSteps) - 1];
}

GraphScene BuildGraph(const ProbeHistory& history, int64_t from_ms, int64_t to_ms, int width,
                      int height) {
    GraphScene scene;
    if (width < 2 || height < 2 || to_ms <= from_ms) {
        return scene;
    }
    int64_t span = to_ms - from_ms;
    auto x_of = [&](int64_t t) {
        return static_cast<int>((std::clamp(t, from_ms, to_ms) - from_ms) * (width - 1) / span);
    };
    scene.axis_max_ms = AxisMaximum(Summarize(history, from_ms, to_ms).max_ms.value_or(0));
    auto y_of = [&](int32_t ms) {
        int32_t shown = std::min(ms, scene.axis_max_ms);
        return (height - 1) - static_cast<int>(int64_t{shown} * (height - 1) / scene.axis_max_ms);
    };
    for (const LinkPeriod& period : LinkPeriods(history, from_ms, to_ms)) {
        scene.bands.push_back(
            {x_of(period.begin_ms), x_of(period.end_ms), period.up, period.where});
    }
    bool in_run = false;
    int64_t last_ms = 0;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const Probe& probe = history.at(i);
        int64_t t = probe.tick_ms;
        if (t < from_ms || t > to_ms) {
            continue;
        }
        if (probe.lost()) {
            scene.loss_x.push_back(x_of(t));
            in_run = false;
        } else if (probe.via_tcp) {
            in_run = false;  // a connect's time is no round trip of the line's
        } else {
            if (!in_run || t - last_ms > kStateHoldMs) {
                scene.lines.emplace_back();
            }
            scene.lines.back().push_back({x_of(t), y_of(probe.round_trip_ms)});
            in_run = true;
        }
        last_ms = t;
    }
    return scene;
}

}  // namespace zv::monitor
