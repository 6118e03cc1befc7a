// The stretch of time the history graph shows: the last hour, 6 hours, 24 hours, 7 days or
// 30 days up to now, or a part of it the user dragged across, and the views before a zoom
// to go back to, newest on top.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/probe_history.h"

namespace zv::monitor {

// The spans offered, in hours, in the order the options stand.
inline constexpr int kSpanHours[] = {1, 6, 24, 7 * 24, 30 * 24};
// A zoom shows no less than this: a few probes.
inline constexpr int64_t kLeastZoomMs = 2 * kMinuteMs;
// A drag narrower than this many pixels is a click, which zooms nowhere.
inline constexpr int kLeastDragPixels = 3;

struct ShownSpan {
    int64_t from_ms = 0;  // on the forward-only count
    int64_t to_ms = 0;
    bool operator==(const ShownSpan& other) const {
        return from_ms == other.from_ms && to_ms == other.to_ms;
    }
};

class ZoomStack {
  public:
    // Zooms into the part of `shown` between two pixel columns of a plot `width` pixels
    // wide (in either order), widened about its middle to kLeastZoomMs; false for a click.
    bool ZoomIn(const ShownSpan& shown, int x1, int x2, int width);
    // Back to the view before the newest zoom; false when none was zoomed.
    bool Back();
    void Clear() { stack_.clear(); }
    bool Zoomed() const { return !stack_.empty(); }
    // The newest zoom's span, or the last `hours` up to `now_ms` when none is.
    ShownSpan Shown(int hours, int64_t now_ms) const;

  private:
    std::vector<ShownSpan> stack_;
};

// "7 days ago", "1 hour ago".
std::string SpanAgoText(int hours);

}  // namespace zv::monitor
