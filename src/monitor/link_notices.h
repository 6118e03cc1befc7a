// When the companion tells the user that the link dropped or returned. One lost echo on a
// healthy link is no drop: a loss counts only when the probe after it is lost too, and the
// companion sends that second probe at once. A flapping link gives no storm of balloons:
// after a notice, drops stay quiet for five minutes and are then told as one summary.
// After a gap in the probes (the computer slept) nobody saw what the link did, so the
// first probe after it only says where the link stands.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "monitor/probe_history.h"

namespace zv::monitor {

inline constexpr int64_t kNoticeQuietMs = 5 * kMinuteMs;
inline constexpr int64_t kSummarySpanMs = 10 * kMinuteMs;

struct LinkNotice {
    std::string text;  // empty: nothing to tell
    bool warning = false;
};

class LinkNotices {
  public:
    // Takes the newest probe; returns what it calls for.
    LinkNotice Take(const Probe& probe);
    // The newest probe was a first loss on a link that was up: one more probe decides.
    bool AwaitsConfirmation() const { return first_loss_.has_value(); }

  private:
    enum class State { Unknown, Up, Down };

    LinkNotice Change(const Probe& probe);
    LinkNotice Summary(int64_t at);
    LinkNotice Tell(std::string text, bool warning, int64_t at);
    bool Quiet(int64_t at) const { return last_notice_ && at - *last_notice_ < kNoticeQuietMs; }

    State state_ = State::Unknown;
    std::optional<int64_t> last_probe_;
    std::optional<int64_t> first_loss_;  // an unconfirmed loss while up
    int64_t outage_begin_ = 0;
    bool outage_told_ = false;
    std::optional<int64_t> last_notice_;
    std::deque<int64_t> drops_;  // within the summary's span
    bool summary_due_ = false;
};

}  // namespace zv::monitor
