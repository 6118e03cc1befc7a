#include "monitor/history_graph.h"

#include <algorithm>
#include <type_traits>

#include "monitor/span_record.h"

namespace zv::monitor {
namespace {

// The pixel column of a moment of [from_ms, to_ms] in a plot `width` pixels wide.
struct ColumnScale {
    int64_t from_ms;
    int64_t to_ms;
    int width;
    int X(int64_t t) const {
        return static_cast<int>((std::clamp(t, from_ms, to_ms) - from_ms) * (width - 1) /
                                (to_ms - from_ms));
    }
};

// Gathers the probes of one column at a time, in time order.
class ColumnReducer {
  public:
    explicit ColumnReducer(std::vector<GraphColumn>& columns) : columns_(columns) {}

    template <typename Sample>
    void Take(int x, const Sample& probe) {
        if (columns_.empty() || columns_.back().x != x) {
            Finish();
            columns_.push_back({x});
        }
        GraphColumn& column = columns_.back();
        bool gap = seen_ && probe.tick_ms - last_ms_ > kStateHoldMs;
        seen_ = true;
        last_ms_ = probe.tick_ms;
        broken_ = broken_ || gap;
        if (probe.lost() || probe.via_tcp) {
            column.lost += probe.lost();
            broken_ = true;  // a connect's time is no round trip of the line's
            return;
        }
        if (column.answered++ == 0) {
            column.joins_previous = answered_before_ && !broken_;
        }
        answered_before_ = true;
        broken_ = false;
        times_.push_back(probe.round_trip_ms);
    }

    void Finish() {
        if (!columns_.empty() && !times_.empty()) {
            GraphColumn& column = columns_.back();
            std::sort(times_.begin(), times_.end());
            column.min_ms = times_.front();
            column.max_ms = times_.back();
            column.median_ms = MedianOfSorted(times_).value_or(0);
        }
        times_.clear();
    }

  private:
    std::vector<GraphColumn>& columns_;
    std::vector<int32_t> times_;  // of the column being gathered
    bool seen_ = false;
    int64_t last_ms_ = 0;
    bool answered_before_ = false;  // in an earlier column
    bool broken_ = false;           // a loss, a TCP probe or a gap since the last answer
};

template <typename Record>
std::size_t FirstFrom(const Record& history, int64_t from_ms) {
    if constexpr (std::is_same_v<Record, SpanRecord>) {
        return history.FirstFrom(from_ms);
    } else {
        return 0;  // a day's ring is short
    }
}

// Adjacent bands of one state that meet in a pixel are one band: a month of short outages
// would otherwise fill one column many times over.
void AddBand(const GraphBand& band, std::vector<GraphBand>& bands) {
    if (!bands.empty()) {
        GraphBand& last = bands.back();
        if (last.up == band.up && last.where == band.where && band.left <= last.right) {
            last.right = std::max(last.right, band.right);
            return;
        }
    }
    bands.push_back(band);
}

}  // namespace

int AxisMaximum(int32_t max_round_trip_ms) {
    static const int kSteps[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};
    for (int step : kSteps) {
        if (max_round_trip_ms <= step) {
            return step;
        }
    }
    return kSteps[std::size(kSteps) - 1];
}

template <typename Record>
std::vector<GraphColumn> ReduceColumns(const Record& history, int64_t from_ms, int64_t to_ms,
                                       int width) {
    std::vector<GraphColumn> columns;
    if (width < 2 || to_ms <= from_ms) {
        return columns;
    }
    ColumnScale scale{from_ms, to_ms, width};
    ColumnReducer reducer(columns);
    for (std::size_t i = FirstFrom(history, from_ms); i < history.size(); ++i) {
        const auto& probe = history.at(i);
        if (probe.tick_ms > to_ms) {
            break;
        }
        if (probe.tick_ms >= from_ms) {
            reducer.Take(scale.X(probe.tick_ms), probe);
        }
    }
    reducer.Finish();
    return columns;
}

template <typename Record>
GraphScene BuildGraph(const Record& history, int64_t from_ms, int64_t to_ms, int width,
                      int height) {
    GraphScene scene;
    if (width < 2 || height < 2 || to_ms <= from_ms) {
        return scene;
    }
    ColumnScale scale{from_ms, to_ms, width};
    std::vector<GraphColumn> columns = ReduceColumns(history, from_ms, to_ms, width);
    int32_t highest = 0;
    for (const GraphColumn& column : columns) {
        highest = std::max(highest, column.answered > 0 ? column.max_ms : 0);
    }
    scene.axis_max_ms = AxisMaximum(highest);
    auto y_of = [&](int32_t ms) {
        int32_t shown = std::min(ms, scene.axis_max_ms);
        return (height - 1) - static_cast<int>(int64_t{shown} * (height - 1) / scene.axis_max_ms);
    };
    for (const LinkPeriod& period : LinkPeriods(history, from_ms, to_ms)) {
        AddBand({scale.X(period.begin_ms), scale.X(period.end_ms), period.up, period.where},
                scene.bands);
    }
    for (const GraphColumn& column : columns) {
        if (column.lost > 0) {
            scene.loss_x.push_back(column.x);
        }
        if (column.answered == 0) {
            continue;
        }
        if (!column.joins_previous || scene.lines.empty()) {
            scene.lines.emplace_back();
        }
        scene.lines.back().push_back({column.x, y_of(column.median_ms)});
        if (column.min_ms != column.max_ms) {
            scene.ranges.push_back({column.x, y_of(column.max_ms), y_of(column.min_ms)});
        }
    }
    return scene;
}

// The two records the companion keeps.
template std::vector<GraphColumn> ReduceColumns(const ProbeHistory&, int64_t, int64_t, int);
template std::vector<GraphColumn> ReduceColumns(const SpanRecord&, int64_t, int64_t, int);
template GraphScene BuildGraph(const ProbeHistory&, int64_t, int64_t, int, int);
template GraphScene BuildGraph(const SpanRecord&, int64_t, int64_t, int, int);

}  // namespace zv::monitor
