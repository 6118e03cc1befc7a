#include "monitor/span_record.h"

#include <algorithm>
#include <limits>

namespace zv::monitor {

void SpanRecord::Add(const SpanSample& sample) {
    samples_.push_back(sample);
    while (samples_.front().tick_ms < sample.tick_ms - keep_ms_) {
        samples_.pop_front();
    }
}

std::size_t SpanRecord::FirstFrom(int64_t tick_ms) const {
    auto first = std::lower_bound(
        samples_.begin(), samples_.end(), tick_ms,
        [](const SpanSample& sample, int64_t tick) { return sample.tick_ms < tick; });
    return static_cast<std::size_t>(first - samples_.begin());
}

SpanRecord JoinedBefore(const std::vector<SpanSample>& earlier, const SpanRecord& record) {
    int64_t first = record.size() > 0 ? record.at(0).tick_ms : std::numeric_limits<int64_t>::max();
    SpanRecord joined;
    for (const SpanSample& sample : earlier) {
        if (sample.tick_ms < first) {
            joined.Add(sample);
        }
    }
    for (std::size_t i = 0; i < record.size(); ++i) {
        joined.Add(record.at(i));
    }
    return joined;
}

}  // namespace zv::monitor
