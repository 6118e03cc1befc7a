#include "monitor/link_load.h"

#include <algorithm>
#include <limits>

namespace zv::monitor {
namespace {

uint32_t Kbps(uint64_t bps) {
    return static_cast<uint32_t>(
        std::min<uint64_t>(bps / 1000, std::numeric_limits<uint32_t>::max()));
}

// A share in whole percent of the highest rate, which is never below the rate.
unsigned Share(uint64_t bps, uint64_t highest_bps) {
    return highest_bps == 0 ? 0
                            : static_cast<unsigned>(bps * 100.0 / static_cast<double>(highest_bps));
}

bool WayBusy(uint64_t bps, uint64_t highest_bps, uint32_t busy_kbps) {
    if (busy_kbps > 0) {
        return bps > uint64_t{busy_kbps} * 1000;
    }
    return bps >= uint64_t{kLeastBusyKbps} * 1000 && 2 * bps > highest_bps;
}

}  // namespace

std::optional<uint64_t> OctetsBetween(uint64_t before, uint64_t after, bool wide) {
    if (wide) {
        return after >= before ? std::optional<uint64_t>(after - before) : std::nullopt;
    }
    return (after - before) & 0xFFFFFFFFu;
}

uint64_t RateBps(uint64_t octets, uint32_t span_ms) {
    if (span_ms == 0) {
        return 0;
    }
    double bps = static_cast<double>(octets) * 8000.0 / span_ms;
    return bps >= 1.8e19 ? std::numeric_limits<uint64_t>::max() : static_cast<uint64_t>(bps);
}

ProbeLoad LoadMeter::Take(const std::optional<OctetReading>& reading, uint32_t busy_kbps) {
    busy_ = false;
    if (!reading) {
        return {};
    }
    if (last_ && last_->interface_index != reading->interface_index) {
        last_.reset();
        highest_receive_bps_ = highest_send_bps_ = 0;
    }
    std::optional<OctetReading> before = last_;
    uint32_t span_ms = before ? reading->tick_ms - before->tick_ms : 0;
    if (before && span_ms < kShortestRateSpanMs) {
        return {};  // the next reading is measured from the older one
    }
    last_ = reading;
    if (!before || span_ms > kLongestRateSpanMs) {
        return {};
    }
    bool wide = before->wide && reading->wide;
    std::optional<uint64_t> in = OctetsBetween(before->received, reading->received, wide);
    std::optional<uint64_t> out = OctetsBetween(before->sent, reading->sent, wide);
    if (!in || !out) {
        return {};
    }
    uint64_t receive_bps = RateBps(*in, span_ms);
    uint64_t send_bps = RateBps(*out, span_ms);
    // More than the interface can carry is a 32-bit counter that started again, not traffic.
    uint64_t speed = reading->speed_bps;
    if (speed > 0 && std::max(receive_bps, send_bps) / 2 > speed) {
        return {};
    }
    highest_receive_bps_ = std::max(highest_receive_bps_, receive_bps);
    highest_send_bps_ = std::max(highest_send_bps_, send_bps);
    busy_ = WayBusy(receive_bps, highest_receive_bps_, busy_kbps) ||
            WayBusy(send_bps, highest_send_bps_, busy_kbps);
    unsigned percent =
        std::max(Share(receive_bps, highest_receive_bps_), Share(send_bps, highest_send_bps_));
    return {true, Kbps(receive_bps), Kbps(send_bps), static_cast<uint8_t>(std::min(percent, 100u)),
            busy_};
}

}  // namespace zv::monitor
