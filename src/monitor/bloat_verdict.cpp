#include "monitor/bloat_verdict.h"

#include <vector>

#include "monitor/link_words.h"

namespace zv::monitor {
namespace {

struct Band {
    int32_t below_ms;
    Grade grade;
    const char* text;
};
// Grades of the latency added under load, as the public bufferbloat tests give them.
constexpr Band kBands[] = {{5, Grade::APlus, "A+"},
                           {30, Grade::A, "A"},
                           {60, Grade::B, "B"},
                           {200, Grade::C, "C"},
                           {400, Grade::D, "D"}};

void Take(const Probe& probe, int64_t from_ms, int64_t to_ms, LatencySpread& idle,
          LatencySpread& busy, std::vector<int32_t>& idle_ms, std::vector<int32_t>& busy_ms) {
    if (probe.tick_ms < from_ms || probe.tick_ms > to_ms || !probe.load.known) {
        return;
    }
    LatencySpread& spread = probe.load.busy ? busy : idle;
    if (probe.lost()) {
        ++spread.lost;
    } else if (!probe.via_tcp) {
        ++spread.samples;
        (probe.load.busy ? busy_ms : idle_ms).push_back(probe.round_trip_ms);
    }
}

void Spread(std::vector<int32_t>& times, LatencySpread& spread) {
    spread.median_ms = Median(times);
    spread.p95_ms = Percentile95(times);
}

std::string Count(int n, const char* one, const char* many) {
    return std::to_string(n) + (n == 1 ? one : many);
}

// "9.6 Mbit/s", "180 kbit/s".
std::string RateText(uint32_t kbps) {
    if (kbps < 1000) {
        return std::to_string(kbps) + " kbit/s";
    }
    bool giga = kbps >= 1000000;
    uint32_t tenths = (giga ? kbps / 1000 : kbps) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) +
           (giga ? " Gbit/s" : " Mbit/s");
}

}  // namespace

Grade GradeOf(int32_t added_ms) {
    for (const Band& band : kBands) {
        if (added_ms < band.below_ms) {
            return band.grade;
        }
    }
    return Grade::F;
}

const char* GradeText(Grade grade) {
    for (const Band& band : kBands) {
        if (band.grade == grade) {
            return band.text;
        }
    }
    return "F";
}

int32_t BloatFigures::AddedMs() const {
    return std::max(0, busy.median_ms.value_or(0) - idle.median_ms.value_or(0));
}

BloatFigures JudgeBloat(const ProbeHistory& regular, const ProbeHistory& extras, int64_t from_ms,
                        int64_t to_ms) {
    BloatFigures figures;
    std::vector<int32_t> idle_ms;
    std::vector<int32_t> busy_ms;
    for (const ProbeHistory* history : {&regular, &extras}) {
        for (std::size_t i = 0; i < history->size(); ++i) {
            Take(history->at(i), from_ms, to_ms, figures.idle, figures.busy, idle_ms, busy_ms);
        }
    }
    Spread(idle_ms, figures.idle);
    Spread(busy_ms, figures.busy);
    return figures;
}

std::string BloatLine(const BloatFigures& figures) {
    if (figures.BusyNeeded() > 0) {
        return "Latency when busy: " +
               Count(figures.BusyNeeded(), " more busy sample", " more busy samples") +
               " needed for a verdict (" + std::to_string(figures.busy.samples) + " of " +
               std::to_string(kBusySamplesNeeded) + ")";
    }
    if (figures.IdleNeeded() > 0) {
        return "Latency when busy: " +
               Count(figures.IdleNeeded(), " more idle sample", " more idle samples") +
               " needed for a verdict";
    }
    Grade grade = figures.grade();
    std::string line = "Latency rises by " + MsText(figures.AddedMs()) + " when your link is busy";
    if (IsBloat(grade)) {
        return line + " (bufferbloat), grade " + GradeText(grade);
    }
    return line + ", grade " + GradeText(grade) +
           (grade == Grade::B ? ": a little bufferbloat" : ": no bufferbloat");
}

std::string BloatFiguresLine(const BloatFigures& figures) {
    if (!figures.Ready()) {
        return "";
    }
    auto spread = [](const LatencySpread& s) {
        return "median " + MsText(*s.median_ms) + ", 95th percentile " + MsText(*s.p95_ms);
    };
    std::string lost =
        figures.busy.lost > 0 ? ", " + std::to_string(figures.busy.lost) + " lost" : "";
    return "Idle: " + spread(figures.idle) + "; busy: " + spread(figures.busy) + " (" +
           Count(figures.busy.samples, " busy sample", " busy samples") + lost + ")";
}

std::string BloatAdviceLine(const BloatFigures& figures) {
    if (!figures.Ready() || !IsBloat(figures.grade())) {
        return "";
    }
    return "Helps: a router with smart queue management, or a lower shaping rate (no Windows "
           "setting can fix a router's buffer)";
}

std::string BloatTipPart(const BloatFigures& figures) {
    if (!figures.Ready()) {
        return "";
    }
    return ", busy +" + MsText(figures.AddedMs()) + " (" + GradeText(figures.grade()) + ")";
}

std::string LoadLine(const ProbeLoad& load) {
    if (!load.known) {
        return "Load: not measured yet";
    }
    return "Load: receive " + RateText(load.receive_kbps) + ", send " + RateText(load.send_kbps) +
           ", " + std::to_string(load.percent) + "% of the highest seen" +
           (load.busy ? " (busy)" : "");
}

}  // namespace zv::monitor
