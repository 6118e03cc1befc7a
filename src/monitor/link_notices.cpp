#include "monitor/link_notices.h"

#include "monitor/clock_texts.h"
#include "monitor/link_words.h"

namespace zv::monitor {

LinkNotice LinkNotices::Take(const Probe& probe, std::optional<bool> slow,
                             const std::string& slow_detail) {
    LinkNotice drop = drops_.Take(probe.tick_ms, probe.lost(), WhereMark(probe.where), turns_);
    LinkNotice slowness = slow_.Take(probe.tick_ms, slow, slow_detail, turns_);
    return drop.text.empty() ? slowness : drop;
}

LinkNotice NoticeKind::Take(int64_t at, std::optional<bool> bad, const std::string& detail,
                            NoticeTurns& turns) {
    if (last_probe_ && at - *last_probe_ > kStateHoldMs) {
        state_ = State::Unknown;
        first_loss_.reset();
        back_at_.reset();
    }
    last_probe_ = at;
    while (!drops_.empty() && at - drops_.front() > kSummarySpanMs) {
        drops_.pop_front();
    }
    LinkNotice notice = bad ? Change(at, *bad, detail, turns) : LinkNotice{};
    return notice.text.empty() ? Waiting(at, turns) : notice;
}

LinkNotice NoticeKind::Waiting(int64_t at, NoticeTurns& turns) {
    if (back_at_ && !turns.Taken(at)) {
        int64_t ended = *back_at_;
        back_at_.reset();
        return Back(ended, at, turns);
    }
    return summary_due_ && turns.Free(at) ? Summary(at, turns) : LinkNotice{};
}

// Told while the link is still down, the summary says so, and the link's return is told.
LinkNotice NoticeKind::Summary(int64_t at, NoticeTurns& turns) {
    summary_due_ = false;
    std::size_t n = drops_.size();
    if (n == 0) {
        return {};  // all of them before a sleep: nothing left to sum up
    }
    std::string text =
        std::to_string(n) + (n == 1 ? words_.one : words_.many) + " in the last 10 minutes";
    if (state_ == State::Down) {
        outage_told_ = true;
        text = words_.went + (": " + text);
    }
    turns.Take(at);
    return {std::move(text), true};
}

LinkNotice NoticeKind::Back(int64_t ended, int64_t at, NoticeTurns& turns) {
    turns.Take(at);
    return {words_.back_after + DurationText(ended - outage_begin_), false};
}

LinkNotice NoticeKind::Change(int64_t at, bool bad, const std::string& detail, NoticeTurns& turns) {
    switch (state_) {
        case State::Unknown:
            state_ = bad ? State::Down : State::Up;
            outage_begin_ = at;
            outage_told_ = false;
            return {};
        case State::Up:
            if (!bad) {
                first_loss_.reset();
                return {};
            }
            if (!first_loss_) {
                first_loss_ = at;
                return {};
            }
            state_ = State::Down;
            outage_begin_ = *first_loss_;
            first_loss_.reset();
            back_at_.reset();
            drops_.push_back(at);
            outage_told_ = false;
            // Drops kept quiet since the last notice are told with this one, in one summary.
            if (!turns.Free(at) || summary_due_) {
                summary_due_ = true;
                return {};
            }
            outage_told_ = true;
            turns.Take(at);
            return {words_.went + detail, true};
        case State::Down:
            if (bad) {
                return {};
            }
            state_ = State::Up;
            if (!outage_told_) {
                return {};
            }
            outage_told_ = false;
            // A return ends a story the user was told, so it waits for no quiet time; only
            // for a turn another notice took on this probe.
            if (turns.Taken(at)) {
                back_at_ = at;
                return {};
            }
            return Back(at, at, turns);
    }
    return {};
}

}  // namespace zv::monitor
