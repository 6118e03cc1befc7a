#include "monitor/history_span.h"

#include <algorithm>
#include <cstdlib>

namespace zv::monitor {

bool ZoomStack::ZoomIn(const ShownSpan& shown, int x1, int x2, int width) {
    if (width < 2 || std::abs(x2 - x1) < kLeastDragPixels) {
        return false;
    }
    int64_t length = shown.to_ms - shown.from_ms;
    auto at = [&](int x) {
        return shown.from_ms + int64_t{std::clamp(x, 0, width - 1)} * length / (width - 1);
    };
    ShownSpan zoomed{at(std::min(x1, x2)), at(std::max(x1, x2))};
    if (zoomed.to_ms - zoomed.from_ms < kLeastZoomMs) {
        int64_t middle = zoomed.from_ms + (zoomed.to_ms - zoomed.from_ms) / 2;
        zoomed = {middle - kLeastZoomMs / 2, middle + kLeastZoomMs / 2};
    }
    if (zoomed == shown) {
        return false;
    }
    stack_.push_back(zoomed);
    return true;
}

bool ZoomStack::Back() {
    if (stack_.empty()) {
        return false;
    }
    stack_.pop_back();
    return true;
}

ShownSpan ZoomStack::Shown(int hours, int64_t now_ms) const {
    return stack_.empty() ? ShownSpan{now_ms - hours * kHourMs, now_ms} : stack_.back();
}

std::string SpanAgoText(int hours) {
    if (hours % 24 == 0 && hours > 24) {
        return std::to_string(hours / 24) + " days ago";
    }
    return hours == 1 ? "1 hour ago" : std::to_string(hours) + " hours ago";
}

}  // namespace zv::monitor
