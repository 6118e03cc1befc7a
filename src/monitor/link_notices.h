// When the companion tells the user that the link dropped or returned, or grew slow and
// recovered; both follow the same rules. One bad probe on a healthy link is no change: it
// counts only when the probe after it is bad too (for a loss the companion sends that
// second probe at once). A flapping link gives no storm of balloons: after a notice,
// changes stay quiet for five minutes and are then told as one summary. After a gap in the
// probes (the computer slept) nobody saw what the link did, so the first probe after it
// only says where the link stands.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "monitor/link_texts.h"
#include "monitor/probe_history.h"

namespace zv::monitor {

inline constexpr int64_t kNoticeQuietMs = 5 * kMinuteMs;
inline constexpr int64_t kSummarySpanMs = 10 * kMinuteMs;

struct LinkNotice {
    std::string text;  // empty: nothing to tell
    bool warning = false;
};

// What the notices of one kind say: "Connection lost" + detail, "Connection back after "
// + how long, and the summary's count + " drop" or " drops" + " in the last 10 minutes".
struct NoticeWords {
    const char* went;
    const char* back_after;
    const char* one;
    const char* many;
};
inline constexpr NoticeWords kDropWords{"Connection lost", "Connection back after ", " drop",
                                        " drops"};
inline constexpr NoticeWords kSlowWords{"Connection slow", "Connection no longer slow after ",
                                        " slow spell", " slow spells"};

class LinkNotices {
  public:
    explicit LinkNotices(const NoticeWords& words = kDropWords) : words_(words) {}

    // Takes the newest probe; returns what it calls for.
    LinkNotice Take(const Probe& probe) {
        return Take(probe.tick_ms, probe.lost(), WhereMark(probe.where));
    }
    // A probe at `at` that found the link bad or not, or nothing to judge by (a gap still
    // counts); `detail` follows the text of a change for the worse.
    LinkNotice Take(int64_t at, std::optional<bool> bad, const std::string& detail);
    // The newest probe was a first bad one on a good link: one more probe decides.
    bool AwaitsConfirmation() const { return first_loss_.has_value(); }

  private:
    enum class State { Unknown, Up, Down };

    LinkNotice Change(int64_t at, bool bad, const std::string& detail);
    LinkNotice Summary(int64_t at);
    LinkNotice Tell(std::string text, bool warning, int64_t at);
    bool Quiet(int64_t at) const { return last_notice_ && at - *last_notice_ < kNoticeQuietMs; }

    NoticeWords words_;
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
