// The extra probes while the link is busy: how often they go, and the budget that bounds
// them, so that a link busy all day carries no more than 360 extra echoes an hour.
#pragma once

#include <cstdint>
#include <deque>

#include "monitor/probe_history.h"

namespace zv::monitor {

inline constexpr int kBusyProbeIntervalMs = 5000;
inline constexpr int kExtraEchoesPerHour = 360;

class ExtraProbeBudget {
  public:
    // Fewer than kExtraEchoesPerHour extra probes went out in the hour up to `now_ms`.
    bool Allows(int64_t now_ms) {
        while (!spent_.empty() && now_ms - spent_.front() >= kHourMs) {
            spent_.pop_front();
        }
        return spent_.size() < static_cast<std::size_t>(kExtraEchoesPerHour);
    }
    void Spend(int64_t now_ms) { spent_.push_back(now_ms); }

  private:
    std::deque<int64_t> spent_;  // when each went out, oldest first
};

}  // namespace zv::monitor
