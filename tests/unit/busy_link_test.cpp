// The latency when the link is busy: the load between two counter readings, the rule that
// calls the link busy, the budget of extra probes, and the verdict with its grade and words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/bloat_verdict.h"
#include "monitor/extra_probe_budget.h"
#include "monitor/link_load.h"

namespace zv::monitor {
namespace {

constexpr uint64_t k4G = uint64_t{1} << 32;

TEST(LinkLoad, OctetsAndRatesBetweenTwoReadings) {
    const struct {
        const char* context;
        uint64_t before, after;
        bool wide;
        std::optional<uint64_t> octets;
        uint32_t span_ms;
        uint64_t bps;
    } cases[] = {
        {"64-bit counters", 1000, 38500, true, 37500, 30000, 10000},
        {"64-bit past 4 GiB", k4G - 10, k4G + 1249990, true, 1250000, 1000, 10000000},
        {"a 64-bit counter that went back was reset", 5000, 10, true, std::nullopt, 30000, 0},
        {"a 32-bit counter wraps once at 4 GiB", k4G - 1000, 250, false, 1250, 1000, 10000},
        {"a 32-bit counter that did not wrap", 10, 1260, false, 1250, 5000, 2000},
        {"a day's worth at 10 Gbit/s", 0, uint64_t{108} << 40, true, uint64_t{108} << 40, 86400000,
         10995116277},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.context);
        std::optional<uint64_t> octets = OctetsBetween(c.before, c.after, c.wide);
        EXPECT_EQ(octets, c.octets);
        if (octets) {
            EXPECT_EQ(RateBps(*octets, c.span_ms), c.bps);
        }
    }
}

// Readings every period of the interface, at the rates given (kbit/s), and what each says.
struct Step {
    const char* context;
    uint32_t span_ms;  // since the reading before
    uint32_t receive_kbps, send_kbps;
    bool known;
    uint8_t percent;
    bool busy;
    uint32_t interface_index = 1;
    bool readable = true;
    uint64_t jump = 0;  // octets the counter skips, as after a reset
};

void RunSteps(const std::vector<Step>& steps, uint32_t busy_kbps, bool wide = true) {
    LoadMeter meter;
    // 100 Mbit/s; the tick count and 32-bit counters near their wrap.
    uint64_t start = wide ? 0 : k4G - 1000000;
    OctetReading reading{1, start, start, wide, 100000000, 4294960000u};
    meter.Take(reading, busy_kbps);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.context);
        reading.tick_ms += step.span_ms;
        reading.received += uint64_t{step.receive_kbps} * step.span_ms / 8 + step.jump;
        reading.sent += uint64_t{step.send_kbps} * step.span_ms / 8;
        reading.interface_index = step.interface_index;
        if (!wide) {
            reading.received %= k4G;
            reading.sent %= k4G;
        }
        ProbeLoad load =
            meter.Take(step.readable ? std::optional(reading) : std::nullopt, busy_kbps);
        EXPECT_EQ(load.known, step.known);
        EXPECT_EQ(load.busy, step.busy);
        EXPECT_EQ(meter.Busy(), step.busy);
        if (step.known) {
            EXPECT_EQ(load.receive_kbps, step.receive_kbps);
            EXPECT_EQ(load.send_kbps, step.send_kbps);
            EXPECT_EQ(load.percent, step.percent);
        }
    }
}

TEST(LinkLoad, BusyAboveHalfTheHighestRateSeenEitherWay) {
    RunSteps(
        {
            {"idle chatter is never busy", 30000, 40, 20, true, 100, false},
            {"the first download is the highest yet", 30000, 9600, 200, true, 100, true},
            {"more than half of it", 5000, 5000, 200, true, 100, true},
            {"half of it is not", 5000, 4800, 100, true, 50, false},
            {"an upload, the highest that way", 30000, 100, 900, true, 100, true},
            {"a reading within half a second says nothing", 300, 9600, 100, false, 0, false},
            {"the next is measured from the one before", 29700, 9600, 100, true, 100, true},
            {"Windows could not tell", 30000, 0, 0, false, 0, false, 1, false},
            {"more than a gap of 75 s apart", 76000, 9600, 100, false, 0, false},
            {"a counter reset beyond the interface's speed", 30000, 100, 100, false, 0, false, 1,
             true, k4G},
            {"then on as before", 30000, 2000, 100, true, 20, false},
            {"another interface forgets the highest rates", 30000, 9600, 100, false, 0, false, 2},
            {"and learns its own", 30000, 2000, 100, true, 100, true, 2},
        },
        0);
}

TEST(LinkLoad, TheUsersRateAndThe32BitCounters) {
    RunSteps(
        {
            {"below the user's rate, the counters wrapping", 30000, 4000, 300, true, 100, false},
            {"above it, though below the highest seen", 30000, 5100, 300, true, 100, true},
            {"the send rate above it", 30000, 100, 6000, true, 100, true},
            {"a share of the highest rate seen", 30000, 3000, 100, true, 58, false},
        },
        5000, false);
}

TEST(ExtraProbeBudget, AtMost360AnHourOnASlidingHour) {
    ExtraProbeBudget budget;
    int64_t t = 0;
    int sent = 0;
    for (; budget.Allows(t); t += kBusyProbeIntervalMs, ++sent) {
        budget.Spend(t);
    }
    EXPECT_EQ(sent, kExtraEchoesPerHour);
    EXPECT_EQ(t, 30 * kMinuteMs);  // a busy half hour spends the hour's budget
    EXPECT_FALSE(budget.Allows(kHourMs - 1));
    EXPECT_TRUE(budget.Allows(kHourMs));  // the first went out an hour ago
    budget.Spend(kHourMs);
    EXPECT_FALSE(budget.Allows(kHourMs + 1));
}

TEST(BloatVerdict, GradesByTheLatencyAdded) {
    const struct {
        int32_t added_ms;
        const char* grade;
    } cases[] = {{0, "A+"}, {4, "A+"},  {5, "A"},   {29, "A"},  {30, "B"},  {59, "B"},
                 {60, "C"}, {199, "C"}, {200, "D"}, {399, "D"}, {400, "F"}, {5000, "F"}};
    for (const auto& c : cases) {
        EXPECT_STREQ(GradeText(GradeOf(c.added_ms)), c.grade) << c.added_ms << " ms";
    }
}

// Probes of the scripted round trips: "i" idle, "b" busy, "e" an extra busy one, "u" the load
// unknown; "x" lost, "t" by TCP.
void AddSamples(ProbeHistory& regular, ProbeHistory& extras, const std::string& kind,
                const std::vector<int32_t>& round_trips, int64_t& t) {
    for (int32_t ms : round_trips) {
        Probe probe{{t, 0}, ms, t};
        probe.load = {kind[0] != 'u', 100, 10, 5, kind[0] == 'b' || kind[0] == 'e'};
        probe.via_tcp = kind.size() > 1 && kind[1] == 't';
        probe.extra = kind[0] == 'e';
        (probe.extra ? extras : regular).Add(probe);
        t += 5000;
    }
}

std::vector<int32_t> Range(int32_t from, int count, int32_t step = 1) {
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(from + i * step);
    }
    return values;
}

TEST(BloatVerdict, MediansPercentilesAndTheWordsOfEachState) {
    const struct {
        const char* context;
        std::vector<std::pair<std::string, std::vector<int32_t>>> samples;
        const char* line;
        const char* figures;
        bool advice;
        const char* tip;
    } cases[] = {
        {"nothing measured",
         {{"u", Range(20, 30)}},
         "Latency when busy: 20 more busy samples needed for a verdict (0 of 20)",
         "",
         false,
         ""},
        {"19 busy samples, lost and TCP ones not counted",
         {{"i", Range(20, 5)}, {"b", Range(300, 19)}, {"bx", {kLost}}, {"bt", {40}}},
         "Latency when busy: 1 more busy sample needed for a verdict (19 of 20)",
         "",
         false,
         ""},
        {"busy ones, too few idle",
         {{"i", {20, 22}}, {"e", Range(300, 20)}},
         "Latency when busy: 1 more idle sample needed for a verdict",
         "",
         false,
         ""},
        {"bufferbloat",
         {{"i", Range(20, 5)},
          {"b", Range(300, 4, 10)},
          {"e", Range(340, 20, 10)},
          {"ex", {kLost, kLost}}},
         "Latency rises by 393 ms when your link is busy (bufferbloat), grade D",
         "Idle: median 22 ms, 95th percentile 24 ms; busy: median 415 ms, 95th percentile 520 ms "
         "(24 busy samples, 2 lost)",
         true,
         ", busy +393 ms (D)"},
        {"a managed link",
         {{"i", Range(20, 3)}, {"e", Range(28, 20)}},
         "Latency rises by 17 ms when your link is busy, grade A: no bufferbloat",
         "Idle: median 21 ms, 95th percentile 22 ms; busy: median 38 ms, 95th percentile 46 ms "
         "(20 busy samples)",
         false,
         ", busy +17 ms (A)"},
        {"busy quicker than idle adds nothing",
         {{"i", Range(40, 3)}, {"e", Range(20, 20)}},
         "Latency rises by 0 ms when your link is busy, grade A+: no bufferbloat",
         nullptr,
         false,
         ", busy +0 ms (A+)"},
        {"a little",
         {{"i", Range(20, 3)}, {"e", Range(60, 20)}},
         "Latency rises by 49 ms when your link is busy, grade B: a little bufferbloat",
         nullptr,
         false,
         ", busy +49 ms (B)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.context);
        ProbeHistory regular;
        ProbeHistory extras(kExtraCapacity);
        int64_t t = 1000000;
        for (const auto& [kind, round_trips] : c.samples) {
            AddSamples(regular, extras, kind, round_trips, t);
        }
        BloatFigures figures = JudgeBloat(regular, extras, 0, t);
        EXPECT_EQ(BloatLine(figures), c.line);
        if (c.figures) {
            EXPECT_EQ(BloatFiguresLine(figures), c.figures);
        }
        EXPECT_EQ(BloatAdviceLine(figures).empty(), !c.advice) << BloatAdviceLine(figures);
        EXPECT_EQ(BloatTipPart(figures), c.tip);
    }
}

TEST(BloatVerdict, TheLoadNowInWords) {
    const struct {
        ProbeLoad load;
        const char* line;
    } cases[] = {
        {{}, "Load: not measured yet"},
        {{true, 9600, 180, 96, true},
         "Load: receive 9.6 Mbit/s, send 180 kbit/s, 96% of the highest seen (busy)"},
        {{true, 999, 1000, 10, false},
         "Load: receive 999 kbit/s, send 1.0 Mbit/s, 10% of the highest seen"},
        {{true, 2500000, 0, 100, true},
         "Load: receive 2.5 Gbit/s, send 0 kbit/s, 100% of the highest seen (busy)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadLine(c.load), c.line);
    }
}

}  // namespace
}  // namespace zv::monitor
