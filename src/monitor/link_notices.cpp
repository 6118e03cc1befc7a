#include "monitor/link_notices.h"

#include "monitor/link_texts.h"

namespace zv::monitor {

LinkNotice LinkNotices::Take(const Probe& probe) {
    int64_t at = probe.tick_ms;
    if (last_probe_ && at - *last_probe_ > kStateHoldMs) {
        state_ = State::Unknown;
        first_loss_.reset();
    }
    last_probe_ = at;
    while (!drops_.empty() && at - drops_.front() > kSummarySpanMs) {
        drops_.pop_front();
    }
    LinkNotice notice = Change(probe);
    if (notice.text.empty() && summary_due_ && !Quiet(at)) {
        notice = Summary(at);
    }
    return notice;
}

LinkNotice LinkNotices::Summary(int64_t at) {
    summary_due_ = false;
    std::size_t n = drops_.size();
    return Tell(std::to_string(n) + (n == 1 ? " drop" : " drops") + " in the last 10 minutes", true,
                at);
}

LinkNotice LinkNotices::Change(const Probe& probe) {
    int64_t at = probe.tick_ms;
    switch (state_) {
        case State::Unknown:
            state_ = probe.lost() ? State::Down : State::Up;
            outage_begin_ = at;
            outage_told_ = false;
            return {};
        case State::Up:
            if (!probe.lost()) {
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
            drops_.push_back(at);
            outage_told_ = false;
            // Drops kept quiet since the last notice are told with this one, in one summary.
            if (Quiet(at) || summary_due_) {
                summary_due_ = true;
                return Quiet(at) ? LinkNotice{} : Summary(at);
            }
            outage_told_ = true;
            return Tell("Connection lost", true, at);
        case State::Down:
            if (probe.lost()) {
                return {};
            }
            state_ = State::Up;
            if (!outage_told_) {
                return {};
            }
            outage_told_ = false;
            return Tell("Connection back after " + DurationText(at - outage_begin_), false, at);
    }
    return {};
}

LinkNotice LinkNotices::Tell(std::string text, bool warning, int64_t at) {
    last_notice_ = at;
    return {std::move(text), warning};
}

}  // namespace zv::monitor
