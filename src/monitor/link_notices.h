// When the companion tells the user that the link dropped or returned, or grew slow and
// recovered; both kinds follow the same rules. One bad probe on a healthy link is no
// change: it counts only when the probe after it is bad too. A flapping link gives no
// storm of balloons: after any notice, of either kind, the next waits five minutes, and
// changes meanwhile are then told as one summary, which says whether the link is still
// down (or slow) so that its end is told too. Only one notice goes out for a probe; one
// that finds its turn taken waits for the next. After a gap in the probes (the computer
// slept) nobody saw what the link did, so the first probe after it only says where the
// link stands.
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

// What the notices of one kind say: "Connection lost" + detail, "Connection back after "
// + how long, and the summary's count + " drop" or " drops" + " in the last 10 minutes"
// (after "Connection lost: " while the link is still down).
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

// The one quiet time all kinds of notice share.
class NoticeTurns {
  public:
    // The quiet time since the last notice is over.
    bool Free(int64_t at) const { return !last_ || at - *last_ >= kNoticeQuietMs; }
    // A notice went out for the probe at `at` already.
    bool Taken(int64_t at) const { return last_ == at; }
    void Take(int64_t at) { last_ = at; }

  private:
    std::optional<int64_t> last_;
};

// The changes of one kind: the link dropped, or grew slow.
class NoticeKind {
  public:
    explicit NoticeKind(const NoticeWords& words) : words_(words) {}

    // A probe at `at` that found the link bad or not, or nothing to judge by (a gap still
    // counts); `detail` follows the text of a change for the worse.
    LinkNotice Take(int64_t at, std::optional<bool> bad, const std::string& detail,
                    NoticeTurns& turns);
    // The newest probe was a first bad one on a good link: one more probe decides.
    bool AwaitsConfirmation() const { return first_loss_.has_value(); }

  private:
    enum class State { Unknown, Up, Down };

    LinkNotice Change(int64_t at, bool bad, const std::string& detail, NoticeTurns& turns);
    // A return or a summary that waited for its turn.
    LinkNotice Waiting(int64_t at, NoticeTurns& turns);
    LinkNotice Summary(int64_t at, NoticeTurns& turns);
    LinkNotice Back(int64_t ended, int64_t at, NoticeTurns& turns);

    NoticeWords words_;
    State state_ = State::Unknown;
    std::optional<int64_t> last_probe_;
    std::optional<int64_t> first_loss_;  // an unconfirmed loss while up
    int64_t outage_begin_ = 0;
    bool outage_told_ = false;
    std::optional<int64_t> back_at_;  // a told outage's end, not told yet
    std::deque<int64_t> drops_;       // within the summary's span
    bool summary_due_ = false;
};

class LinkNotices {
  public:
    // Takes the newest probe, and whether the link was slow by then (nothing to judge by:
    // nothing) with what made it so; returns the one notice they call for, a drop's first.
    LinkNotice Take(const Probe& probe, std::optional<bool> slow = std::nullopt,
                    const std::string& slow_detail = "");
    bool AwaitsConfirmation() const { return drops_.AwaitsConfirmation(); }

  private:
    NoticeTurns turns_;
    NoticeKind drops_{kDropWords};
    NoticeKind slow_{kSlowWords};
};

}  // namespace zv::monitor
