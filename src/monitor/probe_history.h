// The record of the companion's probes: each probe's time and round trip (or its loss) in a
// ring of fixed size, the last 24 hours at one probe per 30 s, so memory stays flat however
// long the companion runs (the extra probes while the link is busy have a ring of their own). Over
// any span of it: the up and down periods and the figures the tip and the history window show.
// Spans and durations are on the forward-only count.
#pragma once

#include <cstddef>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zv::monitor {

// A moment of the wall clock: UTC milliseconds since 1970, and the offset of local time
// from UTC then (local = UTC + offset). Only shown: the user or a time server may set the
// clock back or forth at any moment.
struct WallTime {
    int64_t utc_ms = 0;
    int offset_min = 0;
};

// A moment as the companion keeps it: the wall clock to show, and a count of milliseconds
// that only ever runs forward (sleep included), which orders probes and measures spans.
struct Moment {
    WallTime wall;
    int64_t tick_ms = 0;
};

inline constexpr int32_t kLost = -1;

// Where a lost probe found the trouble: the gateway silent, the first hop beyond it
// silent, or both answering while the host did not. Unknown when nothing could be tried.
enum class Where : uint8_t { Unknown, YourNetwork, YourProvider, BeyondProvider };
inline constexpr int kPlaces = 4;

// How busy the link was over the time before a probe: the rates of the interface that routes
// to the probe host, and the higher of their shares of the highest rates seen on it.
// Unknown for the first reading, after a gap or a change of interface, and where Windows
// does not tell.
struct ProbeLoad {
    bool known = false;
    uint32_t receive_kbps = 0;  // kbit/s, 1000 bits
    uint32_t send_kbps = 0;
    uint8_t percent = 0;
    bool busy = false;
};

struct Probe {
    WallTime time;                  // when the echo went out, to show
    int32_t round_trip_ms = kLost;  // kLost when no reply came in time
    int64_t tick_ms = 0;            // when the echo went out, on the forward-only count
    bool via_tcp = false;           // the round trip is a TCP connect's: echoes went unanswered
    Where where = Where::Unknown;   // of a lost probe
    std::string host{};             // the probe host it went to
    bool may_be_proxy = false;      // of a TCP round trip: see ProbeOutcome
    bool name_failed = false;       // the host's last address answered: its name did not
    ProbeLoad load{};
    // Sent between the regular probes while the link was busy, to sample its latency then:
    // it counts in no figure, outage or notice of the regular probes.
    bool extra = false;
    // Neither the echo nor TCP reached the host: the link is down.
    bool lost() const { return round_trip_ms < 0; }
    // The echo went unanswered, whether or not TCP then reached the host: what "loss" counts.
    bool echo_lost() const { return lost() || via_tcp; }
};

inline constexpr std::size_t kHistoryCapacity = 2880;
// A day of extra probes at most: the budget allows 360 an hour.
inline constexpr std::size_t kExtraCapacity = 360 * 24;
inline constexpr int64_t kMinuteMs = 60000;
inline constexpr int64_t kHourMs = 60 * kMinuteMs;

// How long a probe's answer stands for the link when no probe follows: a little over two
// probe periods. Beyond it (the computer slept, say) the state is unknown, not up or down.
inline constexpr int64_t kStateHoldMs = 75000;

class ProbeHistory {
  public:
    explicit ProbeHistory(std::size_t capacity = kHistoryCapacity);

    // Adds the newest probe; when full, the oldest goes.
    void Add(const Probe& probe);

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    // 0 is the oldest kept.
    const Probe& at(std::size_t index) const;
    std::optional<Probe> Latest() const;

    // The outage the newest probe belongs to: the first lost probe of the run of losses
    // it ends, and whether that run reaches back past the oldest probe kept. Nothing while
    // connected or before any probe.
    struct Outage {
        Probe first;
        bool began_before_record = false;
    };
    std::optional<Outage> DownSince() const;

  private:
    std::size_t capacity_;
    std::vector<Probe> ring_;  // grows to the capacity as probes come
    std::size_t next_ = 0;
    std::size_t size_ = 0;
};

// The probes of `before` of the kind of the ring's (extra or regular) older than its first,
// then its own, in a ring of `capacity` (which keeps the newest of them).
ProbeHistory JoinedBefore(const std::vector<Probe>& before, bool extra, const ProbeHistory& ring,
                          std::size_t capacity);

// An outage is a run of lost probes, save one lost probe straight after an answer that the
// next probe did not confirm (or none has yet): that is a lost probe on a link that stayed
// up, as the notices count it too. These functions read a record of either kind: the day's
// ProbeHistory or the month's SpanRecord (span_record.h).
template <typename Record>
bool IsLoneLoss(const Record& history, std::size_t index);

// A stretch of time with one state of the link, clipped to the span asked for.
struct LinkPeriod {
    int64_t begin_ms = 0;
    int64_t end_ms = 0;
    bool up = false;
    // An outage that began inside the span after an answered probe: one drop.
    bool is_drop = false;
    // Of a down period: where its latest classed probe found the trouble.
    Where where = Where::Unknown;
};

// The periods over [from_ms, to_ms] of the forward-only count, in time order. A period lasts from
// its first probe to the next probe of the other state, or kStateHoldMs past its last probe.
template <typename Record>
std::vector<LinkPeriod> LinkPeriods(const Record& history, int64_t from_ms, int64_t to_ms);

// Loss is of echoes; the round trips are the echoes' alone. TCP connects, which a proxy
// may answer and which Windows times coarsely, are counted apart.
struct HistoryFigures {
    int probes = 0;
    int lost = 0;
    int tcp_only = 0;                      // probes that reached the host by TCP alone
    std::optional<int32_t> tcp_median_ms;  // of their connects
    std::optional<int32_t> min_ms;         // nothing without a reply
    std::optional<int32_t> max_ms;
    int32_t average_ms = 0;
    int lost_in_outages = 0;  // of the lost probes, those in outages
    int drops = 0;
    int64_t longest_outage_ms = 0;
    // The mean absolute difference of consecutive round trips; nothing below two replies.
    std::optional<int32_t> jitter_ms;
    std::optional<int32_t> median_ms;
    std::optional<int32_t> p95_ms;       // nearest rank
    std::array<int, kPlaces> outages{};  // down periods in the span, by Where
};

// Of round trips: the median (of an even count, the mean of the middle two, rounded), which
// sorts them, and the 95th percentile by nearest rank of sorted ones; nothing without one.
std::optional<int32_t> Median(std::vector<int32_t>& times);
std::optional<int32_t> MedianOfSorted(const std::vector<int32_t>& sorted);
std::optional<int32_t> Percentile95(const std::vector<int32_t>& sorted);

// The figures of the probes sent in [from_ms, to_ms] of the forward-only count; an outage that
// began before the span counts only its part inside it.
template <typename Record>
HistoryFigures Summarize(const Record& history, int64_t from_ms, int64_t to_ms);

}  // namespace zv::monitor
