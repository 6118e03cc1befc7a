// The companion's record of its probes over scripted probes and a fake clock: the ring and
// its figures, the tip and notice texts, the log file and the options.
#include "monitor/link_monitor.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "fakes/monitor_fakes.h"
#include "monitor/clock_texts.h"
#include "monitor/history_csv.h"
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

// A loss: "x", or where it lay: "xn" your network, "xp" your provider, "xb" beyond. A
// round trip: "23", "23t" a TCP connect, "23q" one that may be a proxy's, "23f" an echo
// to the last address after a failed lookup.
Probe ProbeOf(const std::string& token, int64_t t) {
    Probe probe = ProbeAt(t, token[0] == 'x' ? kLost : std::stoi(token));
    probe.via_tcp = token.back() == 't' || token.back() == 'q';
    probe.may_be_proxy = token.back() == 'q';
    probe.name_failed = token.back() == 'f';
    if (token.size() == 2 && token[0] == 'x') {
        probe.where = token[1] == 'n'   ? Where::YourNetwork
                      : token[1] == 'p' ? Where::YourProvider
                                        : Where::BeyondProvider;
    }
    return probe;
}

// Probes every 30 s from the clock's start: a number is a round trip in ms ("23t" by TCP),
// "x" a loss (see ProbeOf), "+N" N seconds more before the next probe (the computer
// slept). Each goes to `take`.
template <typename Take>
void RunScript(const std::string& script, Take take, int64_t start = kClockStartMs) {
    std::istringstream tokens(script);
    int64_t t = start;
    for (std::string token; tokens >> token;) {
        if (token[0] == '+') {
            t += std::stoll(token.substr(1)) * 1000;
            continue;
        }
        take(ProbeOf(token, t));
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
    // 100 answered probes, then a day of a repeating two minutes: 10 ms, lost, lost, 50 ms.
    for (int i = 0; i < 100; ++i) {
        AddScript(history, "500", kClockStartMs + i * kPeriod);
    }
    for (int i = 0; i < 2880; ++i) {
        static const int32_t kCycle[] = {10, kLost, kLost, 50};
        history.Add(ProbeAt(At((100 + i) * kPeriod).utc_ms, kCycle[i % 4]));
    }
    ASSERT_EQ(history.size(), 2880u);
    EXPECT_EQ(history.capacity(), 2880u);
    EXPECT_EQ(history.at(0).time.utc_ms, At(100 * kPeriod).utc_ms);  // the 500s are gone
    EXPECT_EQ(history.Latest()->round_trip_ms, 50);

    HistoryFigures all = Summarize(history, 0, At(3000 * kPeriod).utc_ms);
    EXPECT_EQ(all.probes, 2880);
    EXPECT_EQ(all.lost, 1440);
    EXPECT_EQ(all.min_ms, 10);
    EXPECT_EQ(all.max_ms, 50);
    EXPECT_EQ(all.average_ms, 30);
    EXPECT_EQ(all.drops, 720);
    EXPECT_EQ(all.longest_outage_ms, 60000);
}

struct SpanCase {
    const char* context;
    const char* script;
    int64_t from_ms, to_ms;  // after the clock's start
    int probes, lost, lost_in_outages, drops;
    int64_t longest_outage_ms;
};

TEST(ProbeHistory, FiguresOfASpan) {
    const SpanCase cases[] = {
        {"outage within the span", "20 x x x 40", 0, 150000, 5, 3, 3, 1, 90000},
        {"outage spanning the span's start counts its part inside, and no drop", "20 x x x x 40",
         45000, 150000, 4, 3, 3, 0, 105000},
        {"ongoing outage runs to the end of the span", "20 20 x x", 0, 100000, 4, 2, 2, 1, 40000},
        {"start with the link down: an outage, not a drop", "x x 20", 0, 90000, 3, 2, 2, 0, 60000},
        {"a last outage stands for no longer than a probe's hold", "20 x x", 0, 600000, 3, 2, 2, 1,
         105000},
        {"one loss between answers is a lost probe, no outage", "20 x 20", 0, 90000, 3, 1, 0, 0, 0},
        {"nor is a loss no probe has confirmed yet", "20 x", 0, 600000, 2, 1, 0, 0, 0},
        {"a loss after a gap is an outage, not a drop", "20 +600 x 20", 0, 700000, 3, 1, 1, 0,
         30000},
        {"no probes in the span", "20 20", 120000, 200000, 0, 0, 0, 0, 0},
    };
    for (const SpanCase& c : cases) {
        SCOPED_TRACE(c.context);
        ProbeHistory history;
        AddScript(history, c.script);
        HistoryFigures f = Summarize(history, At(c.from_ms).utc_ms, At(c.to_ms).utc_ms);
        EXPECT_EQ(f.probes, c.probes);
        EXPECT_EQ(f.lost, c.lost);
        EXPECT_EQ(f.lost_in_outages, c.lost_in_outages);
        EXPECT_EQ(f.drops, c.drops);
        EXPECT_EQ(f.longest_outage_ms, c.longest_outage_ms);
    }
}

TEST(ProbeHistory, SpreadOfTheRoundTripsAndOutagesByPlace) {
    struct Case {
        const char* script;
        std::optional<int32_t> jitter, median, p95;
        std::array<int, kPlaces> outages;
    };
    std::string twenty;
    for (int ms = 1; ms <= 20; ++ms) {
        twenty += std::to_string(ms) + " ";
    }
    const Case cases[] = {
        {"23", {}, 23, 23, {}},
        {"20 40 x 10", 25, 20, 40, {}},
        {"10 20 30 40", 10, 25, 40, {}},
        {twenty.c_str(), 1, 11, 19, {}},
        {"20 xn xn 20 xp 20 x xb 20 +600 xb", 0, 20, 20, {0, 1, 0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ProbeHistory history;
        AddScript(history, c.script);
        HistoryFigures f = Summarize(history, 0, At(kHourMs).utc_ms);
        EXPECT_EQ(f.jitter_ms, c.jitter);
        EXPECT_EQ(f.median_ms, c.median);
        EXPECT_EQ(f.p95_ms, c.p95);
        EXPECT_EQ(f.outages, c.outages);
    }
}

struct TipCase {
    const char* context;
    const char* script;
    int64_t now_ms;  // after the clock's start
    const char* tip;
    std::size_t limit = kTipLimit;
};

TEST(LinkTexts, TipForEachState) {
    const std::string kDayDown = "x +86400 x";
    const TipCase cases[] = {
        {"before the first probe", "", 0, "Zorvane"},
        {"connected", "23", 1000,
         "Zorvane - connected, 23 ms, loss 0% (10 min) 0% (1 h), 95th percentile 23 ms"},
        {"back after one lost probe, through TCP", "20 x 41t", 61000,
         "Zorvane - reachable by TCP only, connect 41 ms, loss 67% (10 min) 67% (1 h), "
         "95th percentile 20 ms"},
        {"the older shell's tip takes what fits", "20 x 41t", 61000,
         "Zorvane - reachable by TCP only, connect 41 ms", 63},
        {"a connect no echo ever matched", "2q", 1000,
         "Zorvane - reachable by TCP only (may be a proxy), connect 2 ms, loss 100% (10 min) "
         "100% (1 h)"},
        {"the name service down", "20 21f", 31000,
         "Zorvane - name lookup failed (link up), 21 ms, loss 0% (10 min) 0% (1 h), jitter 1 ms, "
         "95th percentile 21 ms"},
        {"an older loss counts for the hour only", "20 x +600 41", 661000,
         "Zorvane - connected, 41 ms, loss 0% (10 min) 33% (1 h), jitter 21 ms, "
         "95th percentile 41 ms"},
        {"the link drops", "20 20 x", 61000, "Zorvane - not connected since 13:01"},
        {"the provider's network is down", "20 20 xn xp", 91000,
         "Zorvane - not connected since 13:01 (your provider)"},
        {"where it lies only when it fits the older shell's tip", "xb", 12 * kHourMs,
         "Zorvane - not connected since 2025-03-01 13:00", 63},
        {"down since yesterday", "x", 12 * kHourMs,
         "Zorvane - not connected since 2025-03-01 13:00"},
        {"down for more than a day", "x", 24 * kHourMs + 1000,
         "Zorvane - not connected for more than 24 hours"},
    };
    for (const TipCase& c : cases) {
        SCOPED_TRACE(c.context);
        ProbeHistory history;
        AddScript(history, c.script);
        EXPECT_EQ(TrayTipText(history, {At(c.now_ms), At(c.now_ms).utc_ms}, c.limit), c.tip);
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
    std::string after_flap = "20 x x 20";
    for (int i = 0; i < 10; ++i) {
        after_flap += " x";
    }
    after_flap += " 20";
    const NoticeCase cases[] = {
        {"one lost echo on a healthy link", "20 x 20 20", ""},
        {"a confirmed loss, and back", "20 x xb x 20",
         "Connection lost (beyond your provider)|Connection back after 2 min"},
        {"at start the link was never seen up", "x x 30 x 20", ""},
        {"a flapping link: one notice each way, then summaries, the last while down",
         flapping.c_str(),
         "Connection lost|Connection back after 1 min|4 drops in the last 10 minutes|"
         "Connection lost: 7 drops in the last 10 minutes|Connection back after 1 min"},
        {"an outage after a flap is told when the quiet time ends, and so is its end",
         after_flap.c_str(),
         "Connection lost|Connection back after 1 min|"
         "Connection lost: 2 drops in the last 10 minutes|Connection back after 5 min"},
        {"a summary of drops all before a sleep is never told", "20 x x 20 x x +600 20 20",
         "Connection lost|Connection back after 1 min"},
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
    f.jitter_ms = 4, f.p95_ms = 61, f.outages = {0, 1, 0, 2};
    EXPECT_EQ(
        RoundTripLine(f),
        "Round trip: min 12 ms, average 23 ms, max 80 ms, jitter 4 ms, 95th percentile 61 ms");
    EXPECT_EQ(LossLine(f), "Loss: 3% (3 lost probes of 120), drops: 1, longest outage: 2 min");
    EXPECT_EQ(WhereLine(f), "Outages: your network 1, your provider 0, beyond your provider 2");
}

// Each row names the host its probe went to; a field holding the separator or a quote is
// quoted; a loss too small to round up is a plain 0, not "<1".
TEST(LinkTexts, CsvHoldsEveryProbeWithItsHostQuotedAsSpreadsheetsExpect) {
    ProbeHistory history;
    const char* const hosts[] = {"probe.example", "a;b", "say \"x\""};
    RunScript("23 xp 27t", [&, i = 0](Probe probe) mutable {
        probe.host = hosts[i++];
        history.Add(probe);
    });
    for (int i = 0; i < 240; ++i) {  // a probe every 10 s for 40 minutes
        history.Add(ProbeAt(kClockStartMs + 90000 + i * 10000, 20));
    }
    std::string csv = HistoryCsv(history, ProbeHistory(), ";");
    const std::string no_load = ";;;;;no;;;;;;\r\n";  // the load was not measured
    EXPECT_EQ(csv.substr(0, csv.find("2025-03-01 13:01:30")),
              "Time;UTC offset;Host;Round trip (ms);Result;Probe;Where;Loss 10 min (%);"
              "Loss 1 h (%);Jitter (ms);95th percentile (ms);Receive (kbit/s);Send (kbit/s);"
              "Load (%);Busy;Extra probe;Idle median (ms);Idle 95th percentile (ms);"
              "Busy median (ms);Busy 95th percentile (ms);Added when busy (ms);Grade\r\n"
              "2025-03-01 13:00:00;+01:00;probe.example;23;answered;ICMP;;0;0;;23" +
                  no_load + "2025-03-01 13:00:30;+01:00;\"a;b\";;lost;;your provider;50;50;;23" +
                  no_load +
                  "2025-03-01 13:01:00;+01:00;\"say \"\"x\"\"\";27;answered;TCP;;67;67;;23" +
                  no_load);
    EXPECT_EQ(csv.substr(csv.rfind("\r\n", csv.size() - 3) + 2),
              "2025-03-01 13:41:20;+01:00;;20;answered;ICMP;;0;1;0;20" + no_load);
}

std::vector<std::string> Fields(const std::string& row) {
    std::vector<std::string> fields;
    std::istringstream in(row);
    for (std::string field; std::getline(in, field, ',');) {
        fields.push_back(field);
    }
    return fields;
}

// A day's record is written in one pass: fast, with the figures each row would get from
// the record's own summary, and the verdict on the latency when busy that the history
// window would have shown then. Every tenth probe found the link busy, and three extra
// probes followed it.
TEST(LinkTexts, CsvOfAFullDayMatchesTheSummary) {
    ProbeHistory history;
    ProbeHistory extras(kExtraCapacity);
    std::map<std::string, int64_t> ticks;  // by the time column
    for (int i = 0; i < static_cast<int>(kHistoryCapacity) + 100; ++i) {
        int32_t pattern[] = {10, 30, kLost, 20, 95, 12, kLost};
        Probe probe = ProbeAt(kClockStartMs + int64_t{i} * kPeriod, pattern[i % 7]);
        probe.load = {true, 9000, 200, 95, i % 10 == 0};
        history.Add(probe);
        for (int k = 1; i % 10 == 0 && k <= 3; ++k) {
            Probe extra = ProbeAt(probe.tick_ms + k * 5000, k == 2 ? kLost : 100 + (i * k) % 300);
            extra.load = probe.load;
            extra.extra = true;
            extras.Add(extra);
        }
    }
    for (const ProbeHistory* record : {&history, &extras}) {
        for (std::size_t i = 0; i < record->size(); ++i) {
            std::string time = IsoTime(record->at(i).time);
            ticks[time.substr(0, 10) + " " + time.substr(11, 8)] = record->at(i).tick_ms;
        }
    }
    std::istringstream rows(HistoryCsv(history, extras, ","));
    auto ms = [](std::optional<int32_t> ms) { return ms ? std::to_string(*ms) : ""; };
    std::string row;
    std::getline(rows, row);
    std::size_t count = 0;
    for (; std::getline(rows, row); ++count) {
        std::vector<std::string> f = Fields(row.substr(0, row.size() - 1) + ",");
        if (count % 97 != 0 || f.size() != 22) {
            EXPECT_EQ(f.size(), 22u) << row;
            continue;
        }
        SCOPED_TRACE(row);
        int64_t at = ticks[f[0]];
        RecentFigures recent = Recent(history, at);
        auto loss = [](const HistoryFigures& h) {
            return std::to_string(h.probes > 0 ? (h.lost * 100 + h.probes / 2) / h.probes : 0);
        };
        EXPECT_EQ(f[7] + " " + f[8] + " " + f[9] + " " + f[10],
                  loss(recent.ten_minutes) + " " + loss(recent.hour) + " " +
                      ms(recent.hour.jitter_ms) + " " + ms(recent.hour.p95_ms));
        BloatFigures bloat = JudgeBloat(history, extras, at - 24 * kHourMs, at);
        std::string verdict =
            bloat.Ready() ? ms(bloat.idle.median_ms) + " " + ms(bloat.idle.p95_ms) + " " +
                                ms(bloat.busy.median_ms) + " " + ms(bloat.busy.p95_ms) + " " +
                                std::to_string(bloat.AddedMs()) + " " + GradeText(bloat.grade())
                          : "     ";
        EXPECT_EQ(f[16] + " " + f[17] + " " + f[18] + " " + f[19] + " " + f[20] + " " + f[21],
                  verdict);
    }
    EXPECT_EQ(count, history.size() + extras.size());
}

class LinkMonitorTest : public ::testing::Test {
  protected:
    testing::FakeClock clock;
    testing::FollowingWallClock wall_clock{clock};
    testing::MemoryLogFiles files;
    ProbeLog log{files};
    testing::MemoryOptions options{"probe.example"};
    const std::string kLog = "C:\\Users\\u\\AppData\\Zorvane\\Vigilo.log";
    const std::string kOldLog = "C:\\Users\\u\\AppData\\Zorvane\\Vigilo.old.log";
};

TEST_F(LinkMonitorTest, LogsOneLinePerProbeOnlyWhenOn) {
    LinkMonitor monitor({wall_clock, log, options});
    monitor.Record(monitor.Now(), 23u);
    EXPECT_TRUE(files.files.empty());  // off by default

    monitor.Options().log = true;
    monitor.Record(monitor.Now(), 23u);
    clock.Advance(30000);
    monitor.Record(monitor.Now(), std::nullopt, false, Where::YourNetwork);
    clock.Advance(30000);
    monitor.Record(monitor.Now(), 31u, true);
    clock.Advance(30000);
    ProbeOutcome outcome;
    outcome.round_trip_ms = 25;
    outcome.name_failed = true;
    monitor.Record(monitor.Now(), outcome);
    // A host never found is said in the tip and counts nothing.
    outcome = {};
    outcome.unfound = outcome.name_failed = true;
    monitor.Record(monitor.Now(), outcome);
    EXPECT_EQ(monitor.TipText(), "Zorvane - cannot find probe.example");
    EXPECT_EQ(monitor.NowText(), "Now: cannot find probe.example");
    EXPECT_EQ(monitor.History().size(), 5u);
    EXPECT_EQ(files.files[kLog],
              "2025-03-01T13:00:00+01:00 probe.example 23 ms; loss 0% (10 min) 0% (1 h); "
              "jitter 0 ms; 95th percentile 23 ms\r\n"
              "2025-03-01T13:00:30+01:00 probe.example lost (your network); loss 33% (10 min) "
              "33% (1 h); jitter 0 ms; 95th percentile 23 ms\r\n"
              "2025-03-01T13:01:00+01:00 probe.example 31 ms (TCP only); loss 50% (10 min) "
              "50% (1 h); jitter 0 ms; 95th percentile 23 ms\r\n"
              "2025-03-01T13:01:30+01:00 probe.example 25 ms (name lookup failed); loss 40% "
              "(10 min) 40% (1 h); jitter 1 ms; 95th percentile 25 ms\r\n");
    EXPECT_EQ(files.folders.count("C:\\Users\\u\\AppData\\Zorvane"), 1u);
    EXPECT_EQ(monitor.Log().Problem(), "");
}

// An extra probe is logged with the load and marked; it is kept apart, so a lost one is no
// loss of the regular figures and gives no notice.
TEST_F(LinkMonitorTest, ExtraProbesAreLoggedWithTheLoadAndKeptApart) {
    LinkMonitor monitor({wall_clock, log, options});
    monitor.Options().log = true;
    ProbeOutcome outcome;
    outcome.round_trip_ms = 20;
    outcome.load = OctetReading{1, 0, 0, true, 0, 0};
    monitor.Record(monitor.Now(), outcome);
    clock.Advance(30000);
    outcome.load = OctetReading{1, 37500000, 750000, true, 0, 30000};  // 10 Mbit/s down
    monitor.Record(monitor.Now(), outcome);
    EXPECT_TRUE(monitor.Busy());
    clock.Advance(5000);
    outcome.round_trip_ms.reset();
    outcome.load = OctetReading{1, 40000000, 875000, true, 0, 35000};  // half of it
    monitor.RecordExtra(monitor.Now(), outcome);
    EXPECT_FALSE(monitor.Busy());
    EXPECT_EQ(monitor.Notice().text, "");
    EXPECT_EQ(monitor.History().size(), 2u);
    EXPECT_TRUE(monitor.Extras().size() == 1 && monitor.Extras().at(0).extra);
    const std::string& lines = files.files[kLog];
    EXPECT_EQ(lines.substr(lines.find("13:00:30")),
              "13:00:30+01:00 probe.example 20 ms; loss 0% (10 min) 0% (1 h); jitter 0 ms; "
              "95th percentile 20 ms; load 10000 kbit/s in, 200 kbit/s out, 100%, busy\r\n"
              "2025-03-01T13:00:35+01:00 probe.example lost; loss 0% (10 min) 0% (1 h); "
              "jitter 0 ms; 95th percentile 20 ms; load 4000 kbit/s in, 200 kbit/s out, 100%; "
              "extra probe\r\n");
}

TEST_F(LinkMonitorTest, ALineACrashCutShortIsEndedAndTheLogRollsOverAt1MB) {
    const std::string line = "2025-03-01T13:00:00+01:00 probe.example 7 ms\r\n";
    files.files[kLog] = "2025-03-01T12:59:30+01:00 probe.ex";
    log.Write(line);
    EXPECT_EQ(files.files[kLog], "2025-03-01T12:59:30+01:00 probe.ex\r\n" + line);

    files.files[kLog] = std::string(kLogLimitBytes - line.size() - 1, '.') + "\n";
    log.Write(line);  // fits exactly
    EXPECT_EQ(files.files[kLog].size(), kLogLimitBytes);
    files.files[kOldLog] = "the file before";
    log.Write(line);
    EXPECT_EQ(files.files[kOldLog].size(), kLogLimitBytes);
    EXPECT_EQ(files.files[kLog], line);

    // The line end a cut-short line gets counts too: the line would fit, the end not.
    files.files[kLog] = std::string(kLogLimitBytes - line.size() - 1, '.');
    files.calls.clear();
    log.Write(line);
    EXPECT_EQ(files.files[kOldLog].size(), kLogLimitBytes - line.size() - 1);
    EXPECT_EQ(files.files[kLog], line);
    EXPECT_EQ(files.calls,
              (std::vector<std::string>{"lock", "tail", "replace", "append", "unlock"}))
        << "one lock around the whole write";
}

TEST_F(LinkMonitorTest, AFullLogThatCannotRollOverKeepsLoggingAndSaysWhy) {
    files.files[kLog] = std::string(kLogLimitBytes, '\n');
    files.replaces_fail = true;  // Vigilo.old.log is read-only, say
    const std::string line = "2025-03-01T13:00:00+01:00 probe.example lost\r\n";
    log.Write(line);
    log.Write(line);
    EXPECT_EQ(files.files[kLog].size(), kLogLimitBytes + 2 * line.size());
    EXPECT_EQ(log.Problem(), "The log file " + kLog + " is full, and it could not be renamed to " +
                                 kOldLog + "; new lines go on at its end.");
    files.replaces_fail = false;
    log.Write(line);
    EXPECT_EQ(files.files[kLog], line);
    EXPECT_EQ(log.Problem(), "");
}

TEST_F(LinkMonitorTest, ALogThatCannotBeWrittenIsOneProblemAndRecordingGoesOn) {
    LinkMonitor monitor({wall_clock, log, options});
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
    ProbeLog homeless_log(files);
    LinkMonitor homeless({wall_clock, homeless_log, options});
    homeless.Options().log = true;
    homeless.Record(homeless.Now(), 20u);
    EXPECT_EQ(homeless.Log().Problem(),
              "The log file Vigilo.log cannot be written; the monitor goes on without it.");
}

TEST_F(LinkMonitorTest, OptionsReadTheirDefaultsForMissingOrStrangeValuesAndSaveChanges) {
    struct Case {
        bool log, notices;
        int span;
        std::map<std::string, uint32_t> stored;
    };
    const Case cases[] = {
        {false, true, 1, {}},
        {true, false, 24, {{"LogFile", 1}, {"Notices", 0}, {"GraphSpanHours", 24}}},
        {false, true, 1, {{"LogFile", 7}, {"Notices", 2}, {"GraphSpanHours", 5}}},  // out of range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.stored));
        options.values = c.stored;
        MonitorOptions loaded = LoadMonitorOptions(options).options;
        EXPECT_EQ(loaded.log, c.log);
        EXPECT_EQ(loaded.notices, c.notices);
        EXPECT_EQ(loaded.span_hours, c.span);
    }
    options.values = {{"BusyRateKbps", 4000}, {"BloatNotice", 1}};
    EXPECT_EQ(LoadMonitorOptions(options).options.busy_kbps, 4000u);
    EXPECT_TRUE(LoadMonitorOptions(options).options.bloat_notice);
    options.values = {};
    SaveMonitorOptions(options, {true, false, 6, "10.0.3.2", 250, 5, 4000, true}, {});
    EXPECT_EQ(options.values, (std::map<std::string, uint32_t>{{"BloatNotice", 1},
                                                               {"BusyRateKbps", 4000},
                                                               {"GraphSpanHours", 6},
                                                               {"LogFile", 1},
                                                               {"Notices", 0},
                                                               {"SlowLossPercent", 5},
                                                               {"SlowRoundTripMs", 250}}));
    EXPECT_EQ(options.texts["ProbeHost"], "10.0.3.2");

    // What the companion could not read stays as it was when another option changes.
    options.values = {{"GraphSpanHours", 5}, {"SlowLossPercent", 150}};
    options.texts = {{"ProbeHost", "a host"}};
    LinkMonitor monitor({wall_clock, log, options});
    monitor.Options().log = true;
    monitor.SaveOptions();
    EXPECT_EQ(options.values,
              (std::map<std::string, uint32_t>{
                  {"GraphSpanHours", 5}, {"LogFile", 1}, {"SlowLossPercent", 150}}));
    EXPECT_EQ(options.texts["ProbeHost"], "a host");

    const std::pair<uint32_t, int> keep_days[] = {{1, 1}, {365, 365}, {0, 30}, {366, 30}};
    for (auto [stored, days] : keep_days) {
        options.values = {{"HistoryDays", stored}};
        EXPECT_EQ(LoadMonitorOptions(options).options.keep_days, days) << stored;
    }
}

struct KeptProbes : ProbeRecordPort {
    std::vector<Probe> probes;
    void Keep(const Probe& probe) override { probes.push_back(probe); }
};

// The record read back at start goes before the probes of the run, whenever it comes; after
// a quick restart an outage the user was told of is told to end, and the tip counts the
// probes of before.
TEST_F(LinkMonitorTest, RestoredProbesGoOnInTheHistoryTheTipAndTheNotices) {
    KeptProbes kept;
    LinkMonitor before({wall_clock, log, options});
    before.KeepIn(&kept);
    for (std::optional<uint32_t> probe : {std::optional<uint32_t>(20u), {}, {}}) {
        before.Record(before.Now(), probe);
        clock.Advance(30000);
    }
    EXPECT_EQ(before.Notice().text, "Connection lost");
    ProbeOutcome extra;
    extra.round_trip_ms = 90u;
    before.RecordExtra(before.Now(), extra);
    ASSERT_EQ(kept.probes.size(), 4u);
    EXPECT_TRUE(kept.probes[3].extra);

    LinkMonitor after({wall_clock, log, options});
    after.Restore(kept.probes);
    EXPECT_EQ(after.History().size(), 3u);
    EXPECT_EQ(after.Extras().size(), 1u);
    after.Record(after.Now(), 30u);
    EXPECT_EQ(after.Notice().text, "Connection back after 1 min");
    EXPECT_EQ(after.TipText().substr(0, 50), "Zorvane - connected, 30 ms, loss 50% (10 min) 50% ");

    LinkMonitor late({wall_clock, log, options});
    late.Record(late.Now(), 40u);
    late.Restore(kept.probes);
    ASSERT_EQ(late.History().size(), 4u);
    EXPECT_EQ(late.History().at(0).round_trip_ms, 20);
    EXPECT_EQ(late.History().at(3).round_trip_ms, 40);
}

// A stored host that cannot be probed reads as the default, and the user is told why (a long
// one by its start); an international name is taken in its ASCII form where Windows can make it.
TEST_F(LinkMonitorTest, AProbeHostIsTakenOnlyWhenItCanBeProbed) {
    options.ascii_names = {
        {"b\xFC"
         "cher.example",
         "xn--bcher-kva.example"}};
    const struct {
        const char* text;
        const char* host;  // as taken, or nothing when refused
        const char* problem;
    } cases[] = {
        {"163.com", "163.com", ""},
        {"b\xFC"
         "cher.example",
         "xn--bcher-kva.example", ""},
        {"\xE9t\xE9.example", nullptr,
         "it holds characters that this Windows cannot turn into a host name"},
        {"127.0.0.1", nullptr, "it is this computer, which always answers"},
        {"fe80::1", nullptr, "probes go over IPv4 today, so give a name or an IPv4 address"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        options.texts = {{"ProbeHost", c.text}};
        LinkMonitor monitor({wall_clock, log, options});
        EXPECT_EQ(monitor.Host(), c.host ? c.host : kProbeHost);
        std::string refused = c.host ? ""
                                     : std::string("The stored probe host \"") + c.text +
                                           "\" cannot be probed: " + c.problem +
                                           ". Vigilo probes www.wikipedia.org instead.";
        EXPECT_EQ(monitor.RefusedHost(), refused);
        monitor.Options().host = "before.example";
        EXPECT_EQ(monitor.TakeHost(c.text), c.problem);
        EXPECT_EQ(monitor.Host(), c.host ? c.host : "before.example");
    }
    options.texts = {{"ProbeHost", std::string(300, 'a') + ".example"}};
    EXPECT_EQ(LinkMonitor({wall_clock, log, options}).RefusedHost(),
              "The stored probe host \"" + std::string(60, 'a') +
                  "...\" (308 bytes) cannot be probed: it is longer than 253 characters. "
                  "Vigilo probes www.wikipedia.org instead.");
}

TEST_F(LinkMonitorTest, SlowNoticesFollowTheDropNoticesRulesAndShareTheirQuietTime) {
    auto times = [](int n, const std::string& token) {
        std::string script;
        for (int i = 0; i < n; ++i) {
            script += " " + token;
        }
        return script;
    };
    const std::string outage = "20 20 20 20" + times(6, "x") + times(8, "20");
    const std::string slow_after_flaps = "50 x x 50 x x 50" + times(17, "300");
    const struct {
        const char* context;
        uint32_t ms_limit, loss_limit;
        const char* script;
        const char* notices;
    } cases[] = {
        {"off by default", 0, 0, "50 300 300 300 300", ""},
        {"the median passes the limit, and falls back", 100, 0, "50 50 300 300 300 300 50 50 50",
         "Connection slow: median round trip 300 ms (last 10 minutes)|"
         "Connection no longer slow after 3 min"},
        {"one slow probe is no slow spell", 100, 0, "50 50 300 300 50 50", ""},
        {"a slow spell before sleep is not over after it", 100, 0, "50 50 300 300 300 +600 50 50",
         "Connection slow: median round trip 300 ms (last 10 minutes)"},
        {"the loss passes the limit", 0, 20, "20 x 20 x 20",
         "Connection slow: 40% loss (last 10 minutes)"},
        {"an outage's own losses make no slow link", 0, 20, outage.c_str(),
         "Connection lost|Connection back after 3 min"},
        {"a slow spell while the drops' quiet time lasts waits for it, then for the drops' "
         "summary",
         100, 0, slow_after_flaps.c_str(),
         "Connection lost|Connection back after 1 min|2 drops in the last 10 minutes|"
         "Connection slow: 1 slow spell in the last 10 minutes"},
        {"echoes lost are loss though TCP got through", 0, 20, "20 30t 20 30t 20",
         "Connection slow: 33% loss (last 10 minutes)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.context);
        options.values = {{"SlowRoundTripMs", c.ms_limit}, {"SlowLossPercent", c.loss_limit}};
        LinkMonitor monitor({wall_clock, log, options});
        std::string told;
        RunScript(c.script, [&](const Probe& probe) {
            auto answered = static_cast<uint32_t>(probe.round_trip_ms);
            monitor.Record({probe.time, probe.tick_ms},
                           probe.lost() ? std::nullopt : std::optional(answered), probe.via_tcp);
            if (!monitor.Notice().text.empty()) {
                told += (told.empty() ? "" : "|") + monitor.Notice().text;
            }
        });
        EXPECT_EQ(told, c.notices);
    }
}

// Spans and order come from the forward-only count: setting the wall clock back an hour
// neither hides the probes before it from the last hour nor makes a drop of the change.
TEST_F(LinkMonitorTest, SettingTheClockBackHidesNoProbe) {
    LinkMonitor monitor({wall_clock, log, options});
    const std::optional<uint32_t> probes[] = {20u, std::nullopt, 20u};
    for (std::optional<uint32_t> probe : probes) {
        monitor.Record(monitor.Now(), probe);
        clock.Advance(30000);
    }
    wall_clock.wall_set_ms = -kHourMs;
    monitor.Record(monitor.Now(), 20u);
    EXPECT_EQ(monitor.TipText(),
              "Zorvane - connected, 20 ms, loss 25% (10 min) 25% (1 h), jitter 0 ms, "
              "95th percentile 20 ms");
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
    AddScript(history, "20 40 x x 10");
    // 120 s of probes over a 100-pixel plot of 150 s: 1.5 s to a pixel.
    GraphScene scene = BuildGraph(history, At(0).utc_ms, At(150000).utc_ms, 101, 51);
    EXPECT_EQ(scene.axis_max_ms, 50);
    ASSERT_EQ(scene.bands.size(), 3u);
    EXPECT_EQ(scene.bands[0].left, 0);
    EXPECT_EQ(scene.bands[0].right, 40);
    EXPECT_TRUE(scene.bands[0].up);
    EXPECT_FALSE(scene.bands[1].up);
    EXPECT_EQ(scene.bands[2].right, 100);
    EXPECT_EQ(scene.loss_x, (std::vector<int>{40, 60}));
    ASSERT_EQ(scene.lines.size(), 2u);
    EXPECT_EQ(scene.lines[0].size(), 2u);
    EXPECT_EQ(scene.lines[0][0].x, 0);
    EXPECT_EQ(scene.lines[0][0].y, 30);  // 20 of 50 ms, from the bottom row 50
    EXPECT_EQ(scene.lines[0][1].y, 10);
    EXPECT_EQ(scene.lines[1][0].x, 80);

    // One lost probe between answers is marked, on a band that stays up.
    ProbeHistory lone;
    AddScript(lone, "20 x 10");
    scene = BuildGraph(lone, At(0).utc_ms, At(60000).utc_ms, 101, 51);
    EXPECT_EQ(scene.bands.size(), 1u);
    EXPECT_EQ(scene.loss_x, std::vector<int>{50});

    ProbeHistory tcp;
    AddScript(tcp, "20 30t 10");
    GraphScene split = BuildGraph(tcp, At(0).utc_ms, At(120000).utc_ms, 101, 51);
    EXPECT_EQ(split.lines.size(), 2u);  // a connect's time is no point of the line
    EXPECT_EQ(split.axis_max_ms, 20);
    EXPECT_TRUE(split.loss_x.empty());

    for (auto [rtt, axis] : {std::pair{0, 10}, {11, 20}, {499, 500}, {20000, 10000}}) {
        EXPECT_EQ(AxisMaximum(rtt), axis) << rtt << " ms";
    }
}

}  // namespace
}  // namespace zv::monitor
