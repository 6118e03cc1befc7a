// The history window's longer spans: the month's brief record, the graph's columns against a
// plain model of them, gaps, the zoom stack, and the export of a span across the lasting
// record and the day held whole.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "monitor/history_csv.h"
#include "monitor/history_export.h"
#include "monitor/history_graph.h"
#include "monitor/history_span.h"
#include "monitor/span_record.h"

namespace zv::monitor {
namespace {

constexpr int64_t kPeriod = 30000;

// `count` probes every 30 s from tick 0, with losses, TCP answers, outages by place and
// sleeps of minutes to hours between, the same for every seed.
std::vector<Probe> RandomProbes(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<Probe> probes;
    int64_t t = 0;
    for (int i = 0; i < count; ++i) {
        unsigned roll = random() % 100;
        Probe probe{{t, 60}, roll < 8 ? kLost : static_cast<int32_t>(5 + random() % 300), t};
        probe.via_tcp = roll >= 8 && roll < 11;
        probe.where = probe.lost() ? static_cast<Where>(random() % kPlaces) : Where::Unknown;
        probes.push_back(probe);
        t += kPeriod + (random() % 200 == 0 ? static_cast<int64_t>(random() % 300) * kMinuteMs : 0);
    }
    return probes;
}

struct BothRecords {
    explicit BothRecords(const std::vector<Probe>& probes) : ring(probes.size()) {
        for (const Probe& probe : probes) {
            ring.Add(probe);
            brief.Add(SpanSample::Of(probe));
        }
    }
    ProbeHistory ring;
    SpanRecord brief;
};

std::string Shown(const GraphScene& scene) {
    std::ostringstream text;
    text << "axis " << scene.axis_max_ms << "\nbands";
    for (const GraphBand& band : scene.bands) {
        text << " " << band.left << "-" << band.right << (band.up ? "u" : "d")
             << static_cast<int>(band.where);
    }
    for (const auto& run : scene.lines) {
        text << "\nline";
        for (const GraphPoint& point : run) {
            text << " " << point.x << "," << point.y;
        }
    }
    text << "\nranges";
    for (const GraphRange& range : scene.ranges) {
        text << " " << range.x << ":" << range.top << "-" << range.bottom;
    }
    text << "\nloss";
    for (int x : scene.loss_x) {
        text << " " << x;
    }
    return text.str();
}

TEST(SpanRecord, KeepsTheLongestSpanAndFindsTheFirstProbeOfASpan) {
    SpanRecord record;
    int64_t days31 = 31 * 24 * kHourMs;
    for (int64_t t = 0; t <= days31; t += kPeriod) {
        record.Add({t, 20});
    }
    EXPECT_EQ(record.at(0).tick_ms, days31 - kLongestSpanMs - kStateHoldMs + 15000);
    EXPECT_EQ(record.at(record.size() - 1).tick_ms, days31);
    EXPECT_EQ(record.at(record.FirstFrom(days31 - kHourMs)).tick_ms, days31 - kHourMs);
    EXPECT_EQ(record.at(record.FirstFrom(days31 - kHourMs + 1)).tick_ms,
              days31 - kHourMs + kPeriod);
    EXPECT_EQ(record.FirstFrom(days31 + 1), record.size());
}

// The brief record gives the figures and the picture the whole probes give.
TEST(SpanRecord, FiguresAndGraphAgreeWithTheDaysRing) {
    BothRecords both(RandomProbes(3000, 7));
    int64_t end = both.ring.at(both.ring.size() - 1).tick_ms;
    for (int64_t from : {int64_t{0}, end / 3, end - kHourMs}) {
        HistoryFigures ring = Summarize(both.ring, from, end);
        HistoryFigures brief = Summarize(both.brief, from, end);
        EXPECT_EQ(std::tie(ring.probes, ring.lost, ring.tcp_only, ring.drops, ring.median_ms,
                           ring.p95_ms, ring.jitter_ms, ring.longest_outage_ms, ring.outages),
                  std::tie(brief.probes, brief.lost, brief.tcp_only, brief.drops, brief.median_ms,
                           brief.p95_ms, brief.jitter_ms, brief.longest_outage_ms, brief.outages))
            << "from " << from;
        EXPECT_EQ(Shown(BuildGraph(both.ring, from, end, 400, 100)),
                  Shown(BuildGraph(both.brief, from, end, 400, 100)))
            << "from " << from;
    }
}

// Each column as a plain reading of its probes finds it: the probes whose moment falls in
// it, their round trips sorted, and whether the line comes in from the answer before.
std::vector<GraphColumn> PlainColumns(const std::vector<Probe>& probes, int64_t from, int64_t to,
                                      int width) {
    std::vector<GraphColumn> columns;
    const Probe* answer_before = nullptr;
    const Probe* probe_before = nullptr;
    for (int x = 0; x < width; ++x) {
        GraphColumn column{x};
        std::vector<int32_t> times;
        bool any = false;
        for (const Probe& probe : probes) {
            int64_t t = probe.tick_ms;
            if (t < from || t > to || (t - from) * (width - 1) / (to - from) != x) {
                continue;
            }
            any = true;
            column.lost += probe.lost();
            if (!probe.echo_lost()) {
                if (times.empty()) {
                    column.joins_previous = answer_before != nullptr &&
                                            answer_before == probe_before &&
                                            t - answer_before->tick_ms <= kStateHoldMs;
                }
                times.push_back(probe.round_trip_ms);
                answer_before = &probe;
            }
            probe_before = &probe;
        }
        if (!any) {
            continue;
        }
        column.answered = static_cast<int>(times.size());
        if (!times.empty()) {
            std::sort(times.begin(), times.end());
            column.min_ms = times.front();
            column.max_ms = times.back();
            column.median_ms = *MedianOfSorted(times);
        }
        columns.push_back(column);
    }
    return columns;
}

std::string Shown(const std::vector<GraphColumn>& columns) {
    std::ostringstream text;
    for (const GraphColumn& c : columns) {
        text << c.x << ": " << c.answered << " " << c.min_ms << "/" << c.median_ms << "/"
             << c.max_ms << " lost " << c.lost << (c.joins_previous ? " joins" : "") << "\n";
    }
    return text.str();
}

TEST(HistoryGraph, ColumnsReduceTheirProbesAsAPlainReadingDoes) {
    std::vector<Probe> probes = RandomProbes(1500, 11);
    BothRecords both(probes);
    int64_t end = probes.back().tick_ms;
    struct Case {
        int64_t from;
        int width;
    };
    for (Case c : {Case{0, 40}, Case{0, 333}, Case{end / 2, 2000}, Case{end - kHourMs, 90}}) {
        EXPECT_EQ(Shown(ReduceColumns(both.brief, c.from, end, c.width)),
                  Shown(PlainColumns(probes, c.from, end, c.width)))
            << "from " << c.from << ", " << c.width << " px";
    }
}

// Three hours off between two hours of answers: the line stops and starts again, nothing is
// marked lost, and no band covers the time off. A month draws no more points than columns.
TEST(HistoryGraph, AGapIsDrawnAsAGapNeverAsALineOrALoss) {
    SpanRecord record;
    for (int64_t t = 0; t <= 5 * kHourMs; t += kPeriod) {
        if (t <= kHourMs || t >= 4 * kHourMs) {
            record.Add({t, 20 + static_cast<int32_t>(t / kPeriod % 9)});
        }
    }
    GraphScene scene = BuildGraph(record, 0, 5 * kHourMs, 501, 101);
    ASSERT_EQ(scene.lines.size(), 2u) << Shown(scene);
    EXPECT_TRUE(scene.loss_x.empty()) << Shown(scene);
    EXPECT_EQ(scene.lines[0].back().x, 100);
    EXPECT_EQ(scene.lines[1].front().x, 400);
    ASSERT_EQ(scene.bands.size(), 2u) << Shown(scene);
    EXPECT_LE(scene.bands[0].right, 103);  // a probe's answer holds for 75 s
    EXPECT_EQ(scene.bands[1].left, 400);

    SpanRecord month;
    for (int64_t t = 0; t < kLongestSpanMs; t += kPeriod) {
        month.Add({t, t / kPeriod % 97 == 50 ? kLost : 30});
    }
    GraphScene wide = BuildGraph(month, 0, month.at(month.size() - 1).tick_ms, 600, 100);
    std::size_t points = 0;
    for (const auto& run : wide.lines) {
        points += run.size();
    }
    EXPECT_EQ(points, 600u);
    // A loss every 48.5 minutes, a column is 72; the last holds the newest probe alone.
    EXPECT_EQ(wide.loss_x.size(), 599u);
    EXPECT_EQ(wide.bands.size(), 1u) << "lone losses on a link that stayed up";
}

TEST(ZoomStack, ADragZoomsInToItsColumnsAndBackGoesBackOneAtATime) {
    const ShownSpan day{0, 24 * kHourMs};
    struct Case {
        int x1, x2, width;
        bool zoomed;
        ShownSpan expected;
    };
    const Case kCases[] = {
        {0, 100, 101, false, {}},                          // the span shown: no zoom
        {75, 25, 101, true, {6 * kHourMs, 18 * kHourMs}},  // either direction
        {25, 26, 101, false, {}},                          // a click
        {-40, 10, 101, true, {0, 144 * kMinuteMs}},        // clamped to the plot
        {10000, 10003, 100001, true, {}},                  // widened to the least
    };
    for (const Case& c : kCases) {
        ZoomStack stack;
        bool zoomed = stack.ZoomIn(day, c.x1, c.x2, c.width);
        EXPECT_EQ(zoomed, c.zoomed) << c.x1 << "-" << c.x2;
        ShownSpan shown = stack.Shown(24, 99 * kHourMs);
        if (c.zoomed && c.expected.to_ms > 0) {
            EXPECT_EQ(shown.from_ms, c.expected.from_ms) << c.x1 << "-" << c.x2;
            EXPECT_EQ(shown.to_ms, c.expected.to_ms) << c.x1 << "-" << c.x2;
        } else if (c.zoomed) {
            EXPECT_EQ(shown.to_ms - shown.from_ms, kLeastZoomMs);
        }
    }
    ZoomStack stack;
    ASSERT_TRUE(stack.ZoomIn(day, 50, 100, 101));
    ShownSpan half = stack.Shown(24, 0);
    ASSERT_TRUE(stack.ZoomIn(half, 0, 50, 101));
    EXPECT_EQ(stack.Shown(24, 0), (ShownSpan{12 * kHourMs, 18 * kHourMs}));
    EXPECT_TRUE(stack.Back());
    EXPECT_EQ(stack.Shown(24, 0), half);
    EXPECT_TRUE(stack.Back());
    EXPECT_FALSE(stack.Zoomed());
    EXPECT_EQ(stack.Shown(168, 200 * kHourMs), (ShownSpan{32 * kHourMs, 200 * kHourMs}));
    EXPECT_FALSE(stack.Back());

    for (auto [hours, text] : {std::pair{1, "1 hour ago"},
                               {6, "6 hours ago"},
                               {24, "24 hours ago"},
                               {168, "7 days ago"},
                               {720, "30 days ago"}}) {
        EXPECT_EQ(SpanAgoText(hours), text);
    }
}

// A span reaching back past the day held whole takes the rest from the stored probes; rows are
// the probes of the span, and the hour before it still counts in the first row's figures.
TEST(HistoryExport, RowsAreTheProbesOfTheSpanFromTheRecordAndTheDayHeld) {
    std::vector<Probe> probes = RandomProbes(400, 3);
    for (std::size_t i = 0; i < probes.size(); i += 9) {
        probes[i].extra = true;
    }
    HistoryExport job;
    job.separator = ",";
    std::vector<Probe> stored;
    for (const Probe& probe : probes) {
        if (probe.tick_ms < probes[250].tick_ms) {
            stored.push_back(probe);
        } else {
            (probe.extra ? job.extras : job.regular).Add(probe);
        }
    }
    job.from_ms = probes[100].tick_ms;
    job.to_ms = probes[300].tick_ms;
    EXPECT_EQ(job.ReadFrom(), job.from_ms - 24 * kHourMs);
    EXPECT_LT(job.ReadTo(), probes[250].tick_ms);
    std::string csv = ExportCsv(job, stored);
    int rows = -1;  // the header
    for (char c : csv) {
        rows += c == '\n';
    }
    EXPECT_EQ(rows, 201);
    ProbeHistory all(probes.size());
    ProbeHistory extras(probes.size());
    for (const Probe& probe : probes) {
        (probe.extra ? extras : all).Add(probe);
    }
    EXPECT_EQ(csv, HistoryCsv(all, extras, ",", job.from_ms, job.to_ms));
}

}  // namespace
}  // namespace zv::monitor
