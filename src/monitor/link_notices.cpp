#include "monitor/link_notices.h"

#include "monitor/link_texts.h"

namespace zv::monitor {

LinkNotice LinkNotices::Take(int64_t at, std::optional<bool> bad, const std::string& detail) {
    if (last_probe_ && at - *last_probe_ > kStateHoldMs) {
        state_ = State::Unknown;
        first_loss_.reset();
    }
    last_probe_ = at;
    while (!drops_.empty() && at - drops_.front() > kSummarySpanMs) {
        drops_.pop_front();
    }
    LinkNotice notice = bad ? Change(at, *bad, detail) : LinkNotice{};
    if (notice.text.empty() && summary_due_ && !Quiet(at)) {
        notice = Summary(at);
    }
    return notice;
}

LinkNotice LinkNotices::Summary(int64_t at) {
    summary_due_ = false;
    std::size_t n = drops_.size();
    return Tell(std::to_string(n) + (n == 1 ? words_.one : words_.many) + " in the last 10 minutes",
                true, at);
}

LinkNotice LinkNotices::Change(int64_t at, bool bad, const std::string& detail) {
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
            drops_.push_back(at);
            outage_told_ = false;
            // Drops kept quiet since the last notice are told with this one, in one summary.
            if (Quiet(at) || summary_due_) {
                summary_due_ = true;
                return Quiet(at) ? LinkNotice{} : Summary(at);
            }
            outage_told_ = true;
            return Tell(words_.went + detail, true, at);
        case State::Down:
            if (bad) {
                return {};
            }
            state_ = State::Up;
            if (!outage_told_) {
                return {};
            }
            outage_told_ = false;
            return Tell(words_.back_after + DurationText(at - outage_begin_), false, at);
    }
    return {};
}

LinkNotice LinkNotices::Tell(std::string text, bool warning, int64_t at) {
    last_notice_ = at;
    return {std::move(text), warning};
}

}  // namespace zv::monitor
