// The companion's record of its probes over scripted probes and a fake clock: the ring and
// its figures, the tip and notice texts, the log file and the options.
#include "monitor/link_monitor.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/monitor_fakes.h"
#include "monitor/history_graph.h"
#include "monitor/link_texts.h"
#include "monitor/wide_tick_count.h"

namespace zv::monitor {
namespace {

using testing::kClockOffsetMin;
using testing::kClockStartMs;

constexpr int64_t kPeriod = 30000;

Probe ProbeAt(int64_t t, int32_t round_trip_ms) {
    return {{t, kClockOffsetMin}, round_trip_ms, t};
}

// Probes every 30 s from the clock's start: a number is a round trip in ms, "x" a loss,
// "+N" N seconds more before the next probe (the computer slept). Each goes to `take`.
template <typename Take>
void RunScript(const std::string& script, Take take, int64_t start = kClockStartMs) {
    std::istringstream tokens(script);
    int64_t t = start;
    for (std::string token; tokens >> token;) {
        if (token[0] == '+') {
            t += std::stoll(token.substr(1)) * 1000;
            continue;
        }
        take(ProbeAt(t, token == "x" ? kLost : std::stoi(token)));
        t += kPeriod;
    }
}

void AddScript(ProbeHistory& history, const std::string& script, int64_t start = kClockStartMs) {
    RunScript(
        script, [&](const Probe& probe) { history.Add(probe); }, start);
}

WallTime At(int64_t ms_after_start) {
    return {kClockStartMs + ms_after_start, kClockOffsetMin};
}

TEST(ProbeHistory, TheRingKeepsTheLast2880ProbesAndItsFiguresHoldAcrossTheWrap) {
    ProbeHistory history;
    // 100 answered probes, then a day of a repeating minute: 10 ms, 30 ms, lost, 20 ms.
    for (int i = 0; i < 100; ++i) {
        AddScript(history, "500", kClockStartMs + i * kPeriod);
    }
    for (int i = 0; i < 2880; ++i) {
        static const int32_t kCycle[] = {10, 30, kLost, 20};
        history.Add(ProbeAt(At((100 + i) * kPeriod).utc_ms, kCycle[i % 4]));
    }
    ASSERT_EQ(history.size(), 2880u);
    EXPECT_EQ(history.capacity(), 2880u);
    EXPECT_EQ(history.at(0).time.utc_ms, At(100 * kPeriod).utc_ms);  // the 500s are gone
    EXPECT_EQ(history.Latest()->round_trip_ms, 20);

    HistoryFigures all = Summarize(history, 0, At(3000 * kPeriod).utc_ms);
    EXPECT_EQ(all.probes, 2880);
    EXPECT_EQ(all.lost, 720);
    EXPECT_EQ(all.min_ms, 10);
    EXPECT_EQ(all.max_ms, 30);
    EXPECT_EQ(all.average_ms, 20);
    EXPECT_EQ(all.drops, 720);
    EXPECT_EQ(all.longest_outage_ms, 30000);
}

struct SpanCase {
    const char* context;
    const char* script;
    int64_t from_ms, to_ms;  // after the clock's start
    int probes, lost, drops;
    int64_t longest_outage_ms;
};

TEST(ProbeHistory, FiguresOfASpan) {
    const SpanCase cases[] = {
        {"outage within the span", "20 x x x 40", 0, 150000, 5, 3, 1, 90000},
        {"outage spanning the span's start counts its part inside, and no drop", "20 x x x x 40",
         45000, 150000, 4, 3, 0, 105000},
        {"ongoing outage runs to the end of the span", "20 20 x x", 0, 100000, 4, 2, 1, 40000},
        {"start with the link down: an outage, not a drop", "x x 20", 0, 90000, 3, 2, 0, 60000},
        {"a last loss stands for no longer than a probe's hold", "20 x", 0, 600000, 2, 1, 1, 75000},
        {"no probes in the span", "20 20", 120000, 200000, 0, 0, 0, 0},
    };
    for (const SpanCase& c : cases) {
        SCOPED_TRACE(c.context);
        ProbeHistory history;
        AddScript(history, c.script);
        HistoryFigures f = Summarize(history, At(c.from_ms).utc_ms, At(c.to_ms).utc_ms);
        EXPECT_EQ(f.probes, c.probes);
        EXPECT_EQ(f.lost, c.lost);
        EXPECT_EQ(f.drops, c.drops);
        EXPECT_EQ(f.longest_outage_ms, c.longest_outage_ms);
    }
}

struct TipCase {
    const char* context;
    const char* script;
    int64_t now_ms;  // after the clock's start
    const char* tip;
};

TEST(LinkTexts, TipForEachState) {
    const std::string kDayDown = "x +86400 x";
    const TipCase cases[] = {
        {"before the first probe", "", 0, "Zorvane"},
        {"connected", "23", 1000, "Zorvane - connected, 23 ms, 0% loss (last hour)"},
        {"back after one lost probe", "20 x 41", 61000,
         "Zorvane - connected, 41 ms, 33% loss (last hour)"},
        {"the link drops", "20 20 x", 61000, "Zorvane - not connected since 13:01"},
        {"down since yesterday", "x", 12 * kHourMs,
         "Zorvane - not connected since 2025-03-01 13:00"},
        {"down for more than a day", "x", 24 * kHourMs + 1000,
         "Zorvane - not connected for more than 24 hours"},
    };
    for (const TipCase& c : cases) {
        SCOPED_TRACE(c.context);
        ProbeHistory history;
        AddScript(history, c.script);
        EXPECT_EQ(TrayTipText(history, {At(c.now_ms), At(c.now_ms).utc_ms}), c.tip);
    }
    // A full record of losses: when the outage began is no longer known.
    ProbeHistory history(4);
    AddScript(history, "x x x x x");
    EXPECT_EQ(TrayTipText(history, {At(150000), At(150000).utc_ms}),
              "Zorvane - not connected for more than 24 hours");
}

struct NoticeCase {
    const char* context;
    const char* script;
    const char* notices;  // each one's text, "|" between them
};

TEST(LinkNotices, OnlyConfirmedChangesAreToldAndAFlappingLinkIsSummed) {
    std::string flapping = "20";
    for (int i = 0; i < 8; ++i) {
        flapping += " x x 20";
    }
    const NoticeCase cases[] = {
        {"one lost echo on a healthy link", "20 x 20 20", ""},
        {"a confirmed loss, and back", "20 x x x 20",
         "Connection lost|Connection back after 2 min"},
        {"at start the link was never seen up", "x x 30 x 20", ""},
        {"a flapping link: one notice each way, then summaries only", flapping.c_str(),
         "Connection lost|Connection back after 1 min|4 drops in the last 10 minutes|"
         "7 drops in the last 10 minutes"},
        {"a loss before sleep is not back after it", "20 x x +600 20", "Connection lost"},
        {"the first probe after waking fails", "20 20 +600 x x 20", ""},
        {"a single loss before sleep is no drop", "20 x +600 x x", ""},
    };
    for (const NoticeCase& c : cases) {
        SCOPED_TRACE(c.context);
        LinkNotices notices;
        std::string told;
        RunScript(c.script, [&](const Probe& probe) {
            LinkNotice notice = notices.Take(probe);
            if (!notice.text.empty()) {
                told += (told.empty() ? "" : "|") + notice.text;
            }
        });
        EXPECT_EQ(told, c.notices);
    }
}

TEST(LinkTexts, NumbersAsPeopleReadThem) {
    EXPECT_EQ(IsoTime({kClockStartMs, 60}), "2025-03-01T13:00:00+01:00");
    EXPECT_EQ(IsoTime({kClockStartMs + 59999, -330}), "2025-03-01T06:30:59-05:30");
    EXPECT_EQ(IsoTime({951782400000, 0}), "2000-02-29T00:00:00+00:00");
    EXPECT_EQ(DurationText(45000), "45 s");
    EXPECT_EQ(DurationText(150000), "3 min");
    EXPECT_EQ(DurationText(2 * kHourMs + 5 * kMinuteMs), "2 h 5 min");
    EXPECT_EQ(LossPercentText(1, 2880), "<1");
    EXPECT_EQ(LossPercentText(2879, 2880), ">99");
    EXPECT_EQ(LossPercentText(2880, 2880), "100");
    EXPECT_EQ(RoundTripLine({}), "Round trip: no replies");
    HistoryFigures f;
    f.probes = 120, f.lost = 3, f.min_ms = 12, f.max_ms = 80, f.average_ms = 23, f.drops = 1;
    f.longest_outage_ms = 90000;
    EXPECT_EQ(RoundTripLine(f), "Round trip: min 12 ms, average 23 ms, max 80 ms");
    EXPECT_EQ(LossLine(f), "Loss: 3% (3 of 120 probes), drops: 1, longest outage: 2 min");
}

TEST(LinkTexts, CsvHoldsEveryProbeOldestFirstApartByTheLocalesSeparator) {
    ProbeHistory history;
    AddScript(history, "23 x");
    EXPECT_EQ(HistoryCsv(history, "probe.example", ";"),
              "Time;UTC offset;Host;Round trip (ms);Result\r\n"
              "2025-03-01 13:00:00;+01:00;probe.example;23;answered\r\n"
              "2025-03-01 13:00:30;+01:00;probe.example;;lost\r\n");
}

class LinkMonitorTest : public ::testing::Test {
  protected:
    testing::FakeClock clock;
    testing::FollowingWallClock wall_clock{clock};
    testing::MemoryLogFiles files;
    testing::MemoryOptions options;
    const std::string kLog = "C:\\Users\\u\\AppData\\Zorvane\\Vigilo.log";
    const std::string kOldLog = "C:\\Users\\u\\AppData\\Zorvane\\Vigilo.old.log";
};

TEST_F(LinkMonitorTest, LogsOneLinePerProbeOnlyWhenOn) {
    LinkMonitor monitor({wall_clock, files, options}, "probe.example");
    monitor.Record(monitor.Now(), 23u);
    EXPECT_TRUE(files.files.empty());  // off by default

    monitor.Options().log = true;
    monitor.Record(monitor.Now(), 23u);
    clock.Advance(30000);
    monitor.Record(monitor.Now(), std::nullopt);
    EXPECT_EQ(files.files[kLog],
              "2025-03-01T13:00:00+01:00 probe.example 23 ms\r\n"
              "2025-03-01T13:00:30+01:00 probe.example lost\r\n");
    EXPECT_EQ(files.folders.count("C:\\Users\\u\\AppData\\Zorvane"), 1u);
    EXPECT_EQ(monitor.Log().Problem(), "");
}

TEST_F(LinkMonitorTest, ALineACrashCutShortIsEndedAndTheLogRollsOverAt1MB) {
    LinkMonitor monitor({wall_clock, files, options}, "probe.example");
    monitor.Options().log = true;
    files.files[kLog] = "2025-03-01T12:59:30+01:00 probe.ex";
    monitor.Record(monitor.Now(), 7u);
    EXPECT_EQ(files.files[kLog],
              "2025-03-01T12:59:30+01:00 probe.ex\r\n"
              "2025-03-01T13:00:00+01:00 probe.example 7 ms\r\n");

    const std::string line = "2025-03-01T13:00:00+01:00 probe.example 7 ms\r\n";
    files.files[kLog] = std::string(kLogLimitBytes - line.size() - 1, '.') + "\n";
    monitor.Record(monitor.Now(), 7u);  // fits exactly
    EXPECT_EQ(files.files[kLog].size(), kLogLimitBytes);
    files.files[kOldLog] = "the file before";
    monitor.Record(monitor.Now(), 7u);
    EXPECT_EQ(files.files[kOldLog].size(), kLogLimitBytes);
    EXPECT_EQ(files.files[kLog], line);

    // The line end a cut-short line gets counts too: the line would fit, the end not.
    files.files[kLog] = std::string(kLogLimitBytes - line.size() - 1, '.');
    files.calls.clear();
    monitor.Record(monitor.Now(), 7u);
    EXPECT_EQ(files.files[kOldLog].size(), kLogLimitBytes - line.size() - 1);
    EXPECT_EQ(files.files[kLog], line);
    EXPECT_EQ(files.calls,
              (std::vector<std::string>{"lock", "tail", "replace", "append", "unlock"}))
        << "one lock around the whole write";
}

TEST_F(LinkMonitorTest, AFullLogThatCannotRollOverKeepsLoggingAndSaysWhy) {
    LinkMonitor monitor({wall_clock, files, options}, "probe.example");
    monitor.Options().log = true;
    files.files[kLog] = std::string(kLogLimitBytes, '\n');
    files.replaces_fail = true;  // Vigilo.old.log is read-only, say
    const std::size_t line_size = 46;
    monitor.Record(monitor.Now(), 7u);
    monitor.Record(monitor.Now(), std::nullopt);
    EXPECT_EQ(files.files[kLog].size(), kLogLimitBytes + 2 * line_size);
    EXPECT_EQ(monitor.Log().Problem(), "The log file " + kLog +
                                           " is full, and it could not be renamed to " + kOldLog +
                                           "; new lines go on at its end.");
    files.replaces_fail = false;
    monitor.Record(monitor.Now(), 7u);
    EXPECT_EQ(files.files[kLog].size(), line_size);
    EXPECT_EQ(monitor.Log().Problem(), "");
}

TEST_F(LinkMonitorTest, ALogThatCannotBeWrittenIsOneProblemAndRecordingGoesOn) {
    LinkMonitor monitor({wall_clock, files, options}, "probe.example");
    monitor.Options().log = true;
    files.folders_fail = true;
    for (int i = 0; i < 3; ++i) {
        monitor.Record(monitor.Now(), 20u);
    }
    EXPECT_EQ(monitor.History().size(), 3u);
    EXPECT_EQ(monitor.Log().Problem(),
              "The log file " + kLog + " cannot be written; the monitor goes on without it.");
    files.folders_fail = false;
    monitor.Record(monitor.Now(), 20u);
    EXPECT_EQ(monitor.Log().Problem(), "");

    files.app_data = "";  // Windows names no application-data folder
    LinkMonitor homeless({wall_clock, files, options}, "probe.example");
    homeless.Options().log = true;
    homeless.Record(homeless.Now(), 20u);
    EXPECT_EQ(homeless.Log().Problem(),
              "The log file Vigilo.log cannot be written; the monitor goes on without it.");
}

TEST_F(LinkMonitorTest, OptionsReadTheirDefaultsForMissingOrStrangeValuesAndSaveAll) {
    struct Case {
        const char* context;
        std::map<std::string, uint32_t> stored;
        bool log, notices;
        int span;
    };
    const Case cases[] = {
        {"nothing stored", {}, false, true, 1},
        {"all set", {{"LogFile", 1}, {"Notices", 0}, {"GraphSpanHours", 24}}, true, false, 24},
        {"values out of range",
         {{"LogFile", 7}, {"Notices", 2}, {"GraphSpanHours", 5}},
         false,
         true,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.context);
        options.values = c.stored;
        MonitorOptions loaded = LoadMonitorOptions(options);
        EXPECT_EQ(loaded.log, c.log);
        EXPECT_EQ(loaded.notices, c.notices);
        EXPECT_EQ(loaded.span_hours, c.span);
    }
    SaveMonitorOptions(options, {true, false, 6});
    EXPECT_EQ(options.values, (std::map<std::string, uint32_t>{
                                  {"GraphSpanHours", 6}, {"LogFile", 1}, {"Notices", 0}}));
}

// Spans and order come from the forward-only count: setting the wall clock back an hour
// neither hides the probes before it from the last hour nor makes a drop of the change.
TEST_F(LinkMonitorTest, SettingTheClockBackHidesNoProbe) {
    LinkMonitor monitor({wall_clock, files, options}, "probe.example");
    const std::optional<uint32_t> probes[] = {20u, std::nullopt, 20u};
    for (std::optional<uint32_t> probe : probes) {
        monitor.Record(monitor.Now(), probe);
        clock.Advance(30000);
    }
    wall_clock.wall_set_ms = -kHourMs;
    monitor.Record(monitor.Now(), 20u);
    EXPECT_EQ(monitor.TipText(), "Zorvane - connected, 20 ms, 25% loss (last hour)");
    EXPECT_EQ(monitor.Notice().text, "");
    Moment now = monitor.Now();
    EXPECT_EQ(Summarize(monitor.History(), now.tick_ms - kHourMs, now.tick_ms).probes, 4);
}

TEST(WideTickCount, RunsOnAcrossTheWrapOfGetTickCount) {
    WideTickCount count(0xFFFFFFFFu - 19999);  // 20 s before the wrap
    EXPECT_EQ(count.Read(10000), 30000);
    EXPECT_EQ(count.Read(40000), 60000);
    EXPECT_EQ(count.Read(40000), 60000);
}

TEST(HistoryGraph, PlacesBandsLinesAndLossMarks) {
    ProbeHistory history;
    AddScript(history, "20 40 x 10");
    // 90 s of probes over a 100-pixel plot of 120 s: 1.2 s to a pixel.
    GraphScene scene = BuildGraph(history, At(0).utc_ms, At(120000).utc_ms, 101, 51);
    EXPECT_EQ(scene.axis_max_ms, 50);
    ASSERT_EQ(scene.bands.size(), 3u);
    EXPECT_EQ(scene.bands[0].left, 0);
    EXPECT_EQ(scene.bands[0].right, 50);
    EXPECT_TRUE(scene.bands[0].up);
    EXPECT_FALSE(scene.bands[1].up);
    EXPECT_EQ(scene.bands[2].right, 100);
    EXPECT_EQ(scene.loss_x, std::vector<int>{50});
    ASSERT_EQ(scene.lines.size(), 2u);
    EXPECT_EQ(scene.lines[0].size(), 2u);
    EXPECT_EQ(scene.lines[0][0].x, 0);
    EXPECT_EQ(scene.lines[0][0].y, 30);  // 20 of 50 ms, from the bottom row 50
    EXPECT_EQ(scene.lines[0][1].y, 10);
    EXPECT_EQ(scene.lines[1][0].x, 75);

    for (auto [rtt, axis] : {std::pair{0, 10}, {11, 20}, {499, 500}, {20000, 10000}}) {
        EXPECT_EQ(AxisMaximum(rtt), axis) << rtt << " ms";
    }
}

}  // namespace
}  // namespace zv::monitor
