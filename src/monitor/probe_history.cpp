#include "monitor/probe_history.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "monitor/span_record.h"

namespace zv::monitor {

ProbeHistory::ProbeHistory(std::size_t capacity) : capacity_(capacity) {}

void ProbeHistory::Add(const Probe& probe) {
    if (ring_.size() < capacity_) {
        // Doubling, but never past the capacity: a full ring holds no spare room.
        if (ring_.size() == ring_.capacity()) {
            ring_.reserve(std::min(capacity_, std::max<std::size_t>(64, 2 * ring_.size())));
        }
        ring_.push_back(probe);
    } else {
        ring_[next_] = probe;
    }
    next_ = (next_ + 1) % capacity_;
    size_ = ring_.size();
}

const Probe& ProbeHistory::at(std::size_t index) const {
    std::size_t oldest = (next_ + ring_.size() - size_) % ring_.size();
    return ring_[(oldest + index) % ring_.size()];
}

std::optional<Probe> ProbeHistory::Latest() const {
    if (size_ == 0) {
        return std::nullopt;
    }
    return at(size_ - 1);
}

std::optional<ProbeHistory::Outage> ProbeHistory::DownSince() const {
    if (size_ == 0 || !at(size_ - 1).lost()) {
        return std::nullopt;
    }
    std::size_t first = size_ - 1;
    while (first > 0 && at(first - 1).lost() &&
           at(first).tick_ms - at(first - 1).tick_ms <= kStateHoldMs) {
        --first;
    }
    return Outage{at(first), first == 0 && size_ == capacity_};
}

ProbeHistory JoinedBefore(const std::vector<Probe>& before, bool extra, const ProbeHistory& ring,
                          std::size_t capacity) {
    int64_t first = ring.size() > 0 ? ring.at(0).tick_ms : std::numeric_limits<int64_t>::max();
    ProbeHistory merged(capacity);
    for (const Probe& probe : before) {
        if (probe.extra == extra && probe.tick_ms < first) {
            merged.Add(probe);
        }
    }
    for (std::size_t i = 0; i < ring.size(); ++i) {
        merged.Add(ring.at(i));
    }
    return merged;
}

namespace {

// Adds the period, clipped to the span, when any of it lies inside.
void Keep(LinkPeriod period, int64_t from_ms, int64_t to_ms, std::vector<LinkPeriod>& periods) {
    if (period.end_ms <= from_ms || period.begin_ms >= to_ms) {
        return;
    }
    period.is_drop = period.is_drop && period.begin_ms >= from_ms;
    period.begin_ms = std::max(period.begin_ms, from_ms);
    period.end_ms = std::min(period.end_ms, to_ms);
    periods.push_back(period);
}

template <typename Sample>
void Classify(LinkPeriod& period, const Sample& probe) {
    if (!period.up && probe.where != Where::Unknown) {
        period.where = probe.where;
    }
}

// The round trips' spread: jitter (the mean absolute difference of consecutive round
// trips), the median and the 95th percentile.
void AddSpread(std::vector<int32_t> round_trips, HistoryFigures& figures) {
    if (round_trips.empty()) {
        return;
    }
    if (round_trips.size() > 1) {
        int64_t total = 0;
        for (std::size_t i = 1; i < round_trips.size(); ++i) {
            total += std::abs(int64_t{round_trips[i]} - round_trips[i - 1]);
        }
        int64_t pairs = static_cast<int64_t>(round_trips.size() - 1);
        figures.jitter_ms = static_cast<int32_t>((total + pairs / 2) / pairs);
    }
    figures.median_ms = Median(round_trips);
    figures.p95_ms = Percentile95(round_trips);
}

}  // namespace

std::optional<int32_t> Median(std::vector<int32_t>& times) {
    std::sort(times.begin(), times.end());
    return MedianOfSorted(times);
}

std::optional<int32_t> MedianOfSorted(const std::vector<int32_t>& sorted) {
    std::size_t n = sorted.size();
    if (n == 0) {
        return std::nullopt;
    }
    return n % 2 ? sorted[n / 2]
                 : static_cast<int32_t>((int64_t{sorted[n / 2 - 1]} + sorted[n / 2] + 1) / 2);
}

std::optional<int32_t> Percentile95(const std::vector<int32_t>& sorted) {
    std::size_t n = sorted.size();
    return n > 0 ? std::optional(sorted[(n * 95 + 99) / 100 - 1]) : std::nullopt;
}

template <typename Record>
bool IsLoneLoss(const Record& history, std::size_t index) {
    const auto& probe = history.at(index);
    if (!probe.lost() || index == 0) {
        return false;
    }
    const auto& before = history.at(index - 1);
    if (before.lost() || probe.tick_ms - before.tick_ms > kStateHoldMs) {
        return false;
    }
    if (index + 1 == history.size()) {
        return true;
    }
    const auto& after = history.at(index + 1);
    return !after.lost() || after.tick_ms - probe.tick_ms > kStateHoldMs;
}

template <typename Record>
std::vector<LinkPeriod> LinkPeriods(const Record& history, int64_t from_ms, int64_t to_ms) {
    std::vector<LinkPeriod> periods;
    std::optional<LinkPeriod> current;
    int64_t last_ms = 0;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const auto& probe = history.at(i);
        int64_t t = probe.tick_ms;
        bool up = !probe.lost() || IsLoneLoss(history, i);
        bool gap = current && t - last_ms > kStateHoldMs;
        if (current && !gap && current->up == up) {
            Classify(*current, probe);
            last_ms = t;
            continue;
        }
        bool was_up = current && current->up;
        if (current) {
            current->end_ms = gap ? last_ms + kStateHoldMs : t;
            Keep(*current, from_ms, to_ms, periods);
        }
        // A loss straight after an answer is a drop; after a gap nobody saw the link go.
        current = LinkPeriod{t, t, up, !up && was_up && !gap};
        Classify(*current, probe);
        last_ms = t;
    }
    if (current) {
        current->end_ms = std::min(last_ms + kStateHoldMs, std::max(to_ms, last_ms));
        Keep(*current, from_ms, to_ms, periods);
    }
    return periods;
}

template <typename Record>
HistoryFigures Summarize(const Record& history, int64_t from_ms, int64_t to_ms) {
    HistoryFigures figures;
    int64_t total_ms = 0;
    std::vector<int32_t> round_trips;
    std::vector<int32_t> connects;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const auto& probe = history.at(i);
        if (probe.tick_ms < from_ms || probe.tick_ms > to_ms) {
            continue;
        }
        ++figures.probes;
        if (probe.via_tcp && !probe.lost()) {
            ++figures.tcp_only;
            connects.push_back(probe.round_trip_ms);
        }
        if (probe.echo_lost()) {
            ++figures.lost;
            figures.lost_in_outages += probe.lost() && !IsLoneLoss(history, i);
            continue;
        }
        figures.min_ms =
            std::min(figures.min_ms.value_or(probe.round_trip_ms), probe.round_trip_ms);
        figures.max_ms =
            std::max(figures.max_ms.value_or(probe.round_trip_ms), probe.round_trip_ms);
        total_ms += probe.round_trip_ms;
        round_trips.push_back(probe.round_trip_ms);
    }
    AddSpread(std::move(round_trips), figures);
    figures.tcp_median_ms = Median(connects);
    int answered = figures.probes - figures.lost;
    if (answered > 0) {
        figures.average_ms = static_cast<int32_t>((total_ms + answered / 2) / answered);
    }
    for (const LinkPeriod& period : LinkPeriods(history, from_ms, to_ms)) {
        if (!period.up) {
            figures.drops += period.is_drop;
            ++figures.outages[static_cast<int>(period.where)];
            figures.longest_outage_ms =
                std::max(figures.longest_outage_ms, period.end_ms - period.begin_ms);
        }
    }
    return figures;
}

// The two records the companion keeps.
template bool IsLoneLoss(const ProbeHistory&, std::size_t);
template bool IsLoneLoss(const SpanRecord&, std::size_t);
template std::vector<LinkPeriod> LinkPeriods(const ProbeHistory&, int64_t, int64_t);
template std::vector<LinkPeriod> LinkPeriods(const SpanRecord&, int64_t, int64_t);
template HistoryFigures Summarize(const ProbeHistory&, int64_t, int64_t);
template HistoryFigures Summarize(const SpanRecord&, int64_t, int64_t);

}  // namespace zv::monitor
