// The companion's regular probes of the longest span the history window shows (30 days), with
// no more of each than the graph and the span's figures need: its time on the forward-only
// count, its round trip or loss, whether TCP answered, and where a loss found the trouble.
// About 16 bytes a probe, where the day's ring keeps a whole Probe (host, wall time, load).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "monitor/probe_history.h"

namespace zv::monitor {

inline constexpr int64_t kLongestSpanMs = 30 * 24 * kHourMs;

struct SpanSample {
    int64_t tick_ms = 0;
    int32_t round_trip_ms = kLost;
    bool via_tcp = false;
    Where where = Where::Unknown;

    static SpanSample Of(const Probe& probe) {
        return {probe.tick_ms, probe.round_trip_ms, probe.via_tcp, probe.where};
    }
    // As Probe's.
    bool lost() const { return round_trip_ms < 0; }
    bool echo_lost() const { return lost() || via_tcp; }
};

class SpanRecord {
  public:
    // Keeps what was sent in the `keep_ms` up to the newest sample.
    explicit SpanRecord(int64_t keep_ms = kLongestSpanMs + kStateHoldMs) : keep_ms_(keep_ms) {}

    // Adds the newest sample, and lets the ones that fell out of the kept time go.
    void Add(const SpanSample& sample);
    std::size_t size() const { return samples_.size(); }
    // 0 is the oldest kept.
    const SpanSample& at(std::size_t index) const { return samples_[index]; }
    // The index of the first sample sent at or after `tick_ms`; size() when none was.
    std::size_t FirstFrom(int64_t tick_ms) const;

  private:
    int64_t keep_ms_;
    // A deque grows by small blocks: a month's samples cost their own size, where a vector
    // doubling past them would cost up to twice that.
    std::deque<SpanSample> samples_;
};

// The samples of `earlier` sent before the record's first, then the record's own.
SpanRecord JoinedBefore(const std::vector<SpanSample>& earlier, const SpanRecord& record);

}  // namespace zv::monitor
