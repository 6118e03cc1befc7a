// The latency the link adds when it is busy (bufferbloat): the round trips of the probes that
// found the link busy against those that found it idle, over the kept record; a grade by
// the added latency, and the words for the history window, the tip and the notice.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "monitor/probe_history.h"

namespace zv::monitor {

// A verdict stands on no fewer samples than these.
inline constexpr int kBusySamplesNeeded = 20;
inline constexpr int kIdleSamplesNeeded = 3;

enum class Grade : uint8_t { APlus, A, B, C, D, F };

// The bands of the latency added under load: A+ under 5 ms, A under 30, B under 60, C under
// 200, D under 400, F from 400.
Grade GradeOf(int32_t added_ms);
const char* GradeText(Grade grade);
// From C down the added latency is bufferbloat a user feels.
inline bool IsBloat(Grade grade) {
    return grade >= Grade::C;
}

// The echo round trips of one kind of probe: median and 95th percentile (nearest rank).
struct LatencySpread {
    int samples = 0;  // answered echoes
    int lost = 0;
    std::optional<int32_t> median_ms;
    std::optional<int32_t> p95_ms;
};

struct BloatFigures {
    LatencySpread idle;
    LatencySpread busy;
    // How many more samples of each kind a verdict needs.
    int BusyNeeded() const { return std::max(0, kBusySamplesNeeded - busy.samples); }
    int IdleNeeded() const { return std::max(0, kIdleSamplesNeeded - idle.samples); }
    bool Ready() const { return BusyNeeded() == 0 && IdleNeeded() == 0; }
    // The busy median over the idle one, never below 0; of a ready verdict only.
    int32_t AddedMs() const;
    Grade grade() const { return GradeOf(AddedMs()); }
};

// Of the probes, regular and extra, sent in [from_ms, to_ms] of the forward-only count whose
// load was measured. Round trips by TCP count in neither: they are connect times.
BloatFigures JudgeBloat(const ProbeHistory& regular, const ProbeHistory& extras, int64_t from_ms,
                        int64_t to_ms);

// The verdict's line: "Latency rises by 320 ms when your link is busy (bufferbloat), grade D";
// "... by 12 ms when your link is busy, grade A: no bufferbloat"; or how many samples are
// still needed: "Latency when busy: 13 more busy samples needed for a verdict (7 of 20)".
std::string BloatLine(const BloatFigures& figures);
// "Idle: median 20 ms, 95th percentile 25 ms; busy: median 340 ms, 95th percentile 420 ms
// (24 samples, 1 lost)"; empty without a verdict.
std::string BloatFiguresLine(const BloatFigures& figures);
// The newest probe's load: "Load: receive 9.6 Mbit/s, send 180 kbit/s, 96% of the highest
// seen (busy)", or "Load: not measured yet".
std::string LoadLine(const ProbeLoad& load);
// What helps, once the verdict is bufferbloat; empty otherwise.
std::string BloatAdviceLine(const BloatFigures& figures);
// The tip's short form: ", busy +320 ms (D)"; empty without a verdict.
std::string BloatTipPart(const BloatFigures& figures);

}  // namespace zv::monitor
