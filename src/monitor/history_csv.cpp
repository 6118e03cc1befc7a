#include "monitor/history_csv.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <optional>
#include <vector>

#include "monitor/bloat_verdict.h"
#include "monitor/clock_texts.h"
#include "monitor/csv_row.h"
#include "monitor/link_words.h"

namespace zv::monitor {
namespace {

// The figures of the probes sent in [at - span, at], kept up as `at` moves forward over
// the record: each probe comes in once and goes once, so a row costs no more than the
// probes of its span, where Summarize for each row would go through the whole record.
class SlidingFigures {
  public:
    SlidingFigures(const ProbeHistory& history, int64_t span_ms)
        : history_(history), span_ms_(span_ms) {}

    void MoveTo(int64_t at_ms) {
        for (; end_ < history_.size() && history_.at(end_).tick_ms <= at_ms; ++end_) {
            Take(history_.at(end_));
        }
        for (; begin_ < end_ && history_.at(begin_).tick_ms < at_ms - span_ms_; ++begin_) {
            Drop(history_.at(begin_));
        }
    }

    // A whole percent, as in LossPercentText but without its text forms.
    int LossPercent() const { return probes_ > 0 ? (lost_ * 100 + probes_ / 2) / probes_ : 0; }
    // As Summarize's jitter and 95th percentile (nearest rank), of echo replies only.
    std::optional<int32_t> Jitter() const {
        int64_t pairs = static_cast<int64_t>(replies_.size()) - 1;
        return pairs > 0 ? std::optional(static_cast<int32_t>((jitter_total_ + pairs / 2) / pairs))
                         : std::nullopt;
    }
    std::optional<int32_t> P95() const { return Percentile95(sorted_); }

  private:
    void Take(const Probe& probe) {
        ++probes_;
        if (probe.echo_lost()) {
            ++lost_;
            return;
        }
        if (!replies_.empty()) {
            jitter_total_ += std::abs(int64_t{probe.round_trip_ms} - replies_.back());
        }
        replies_.push_back(probe.round_trip_ms);
        sorted_.insert(std::upper_bound(sorted_.begin(), sorted_.end(), probe.round_trip_ms),
                       probe.round_trip_ms);
    }

    void Drop(const Probe& probe) {
        --probes_;
        if (probe.echo_lost()) {
            --lost_;
            return;
        }
        int32_t oldest = replies_.front();
        replies_.pop_front();
        if (!replies_.empty()) {
            jitter_total_ -= std::abs(int64_t{replies_.front()} - oldest);
        }
        sorted_.erase(std::lower_bound(sorted_.begin(), sorted_.end(), oldest));
    }

    const ProbeHistory& history_;
    int64_t span_ms_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    int probes_ = 0;
    int lost_ = 0;
    std::deque<int32_t> replies_;  // in the order sent
    std::vector<int32_t> sorted_;  // the same, in order of size
    int64_t jitter_total_ = 0;
};

// The echo round trips of busy and idle probes, regular and extra, sent in the day up to
// `at`, as JudgeBloat counts them, kept up as `at` moves forward.
class SlidingBloat {
  public:
    void MoveTo(const Probe& probe) {
        while (!window_.empty() && window_.front().tick_ms < probe.tick_ms - kDayMs) {
            const Sample& oldest = window_.front();
            std::vector<int32_t>& sorted = oldest.busy ? busy_ : idle_;
            sorted.erase(std::lower_bound(sorted.begin(), sorted.end(), oldest.ms));
            window_.pop_front();
        }
        if (probe.load.known && !probe.echo_lost()) {
            window_.push_back({probe.tick_ms, probe.load.busy, probe.round_trip_ms});
            std::vector<int32_t>& sorted = probe.load.busy ? busy_ : idle_;
            sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), probe.round_trip_ms),
                          probe.round_trip_ms);
        }
    }
    // The verdict's figures as they stand; lost samples are not counted here.
    BloatFigures Figures() const {
        BloatFigures figures;
        Fill(idle_, figures.idle);
        Fill(busy_, figures.busy);
        return figures;
    }

  private:
    static constexpr int64_t kDayMs = 24 * kHourMs;
    struct Sample {
        int64_t tick_ms;
        bool busy;
        int32_t ms;
    };
    static void Fill(const std::vector<int32_t>& sorted, LatencySpread& spread) {
        spread.samples = static_cast<int>(sorted.size());
        spread.median_ms = MedianOfSorted(sorted);
        spread.p95_ms = Percentile95(sorted);
    }

    std::deque<Sample> window_;
    std::vector<int32_t> idle_;  // in order of size
    std::vector<int32_t> busy_;
};

std::string OptionalMs(const std::optional<int32_t>& ms) {
    return ms ? std::to_string(*ms) : "";
}

// The load's columns, and the verdict's as it stood; empty where nothing was measured or
// no verdict stood.
void AddLoadColumns(CsvRow& row, const Probe& probe, const BloatFigures& bloat) {
    const ProbeLoad& load = probe.load;
    auto known = [&](const std::string& text) { return load.known ? text : std::string(); };
    row << known(std::to_string(load.receive_kbps)) << known(std::to_string(load.send_kbps))
        << known(std::to_string(load.percent)) << known(load.busy ? "yes" : "no")
        << (probe.extra ? "yes" : "no");
    if (!bloat.Ready()) {
        row << ""
            << ""
            << ""
            << ""
            << ""
            << "";
        return;
    }
    row << OptionalMs(bloat.idle.median_ms) << OptionalMs(bloat.idle.p95_ms)
        << OptionalMs(bloat.busy.median_ms) << OptionalMs(bloat.busy.p95_ms)
        << std::to_string(bloat.AddedMs()) << GradeText(bloat.grade());
}

}  // namespace

std::string HistoryCsv(const ProbeHistory& history, const ProbeHistory& extras,
                       const std::string& separator, int64_t from_ms, int64_t to_ms) {
    CsvRow header(separator);
    for (const char* name : {"Time",
                             "UTC offset",
                             "Host",
                             "Round trip (ms)",
                             "Result",
                             "Probe",
                             "Where",
                             "Loss 10 min (%)",
                             "Loss 1 h (%)",
                             "Jitter (ms)",
                             "95th percentile (ms)",
                             "Receive (kbit/s)",
                             "Send (kbit/s)",
                             "Load (%)",
                             "Busy",
                             "Extra probe",
                             "Idle median (ms)",
                             "Idle 95th percentile (ms)",
                             "Busy median (ms)",
                             "Busy 95th percentile (ms)",
                             "Added when busy (ms)",
                             "Grade"}) {
        header << name;
    }
    std::string csv = header.End();
    SlidingFigures ten_minutes(history, kRecentSpanMs);
    SlidingFigures hour(history, kHourMs);
    SlidingBloat bloat;
    // The two records in the order sent, a regular probe before an extra one of its moment.
    for (std::size_t i = 0, j = 0; i < history.size() || j < extras.size();) {
        bool regular = j == extras.size() ||
                       (i < history.size() && history.at(i).tick_ms <= extras.at(j).tick_ms);
        const Probe& probe = regular ? history.at(i++) : extras.at(j++);
        ten_minutes.MoveTo(probe.tick_ms);
        hour.MoveTo(probe.tick_ms);
        bloat.MoveTo(probe);
        if (probe.tick_ms < from_ms || probe.tick_ms > to_ms) {
            continue;
        }
        std::string time = IsoTime(probe.time);
        CsvRow row(separator);
        row << time.substr(0, 10) + " " + time.substr(11, 8) << time.substr(19) << probe.host;
        if (probe.lost()) {
            row << ""
                << "lost"
                << "" << WhereText(probe.where);
        } else {
            row << std::to_string(probe.round_trip_ms)
                << (probe.name_failed ? "answered, name lookup failed" : "answered")
                << (!probe.via_tcp       ? "ICMP"
                    : probe.may_be_proxy ? "TCP, may be a proxy"
                                         : "TCP")
                << "";
        }
        row << std::to_string(ten_minutes.LossPercent()) << std::to_string(hour.LossPercent())
            << OptionalMs(hour.Jitter()) << OptionalMs(hour.P95());
        AddLoadColumns(row, probe, bloat.Figures());
        csv += row.End();
    }
    return csv;
}

}  // namespace zv::monitor
