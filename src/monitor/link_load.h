// How busy the link is beside each probe: the octet counters of the interface that routes to
// the probe host, read by the probe's worker before its echo goes out, turned into receive
// and send rates between two readings and into shares of the highest rates seen on that
// interface; and the rule that calls the link busy.
#pragma once

#include <cstdint>
#include <optional>

#include "monitor/probe_history.h"

namespace zv::monitor {

// One reading of an interface's counters.
struct OctetReading {
    uint32_t interface_index = 0;
    uint64_t received = 0;  // octets
    uint64_t sent = 0;
    // 64-bit counters (GetIfEntry2); 32-bit ones (GetIfEntry) wrap at 4 GiB.
    bool wide = true;
    uint64_t speed_bps = 0;  // the interface's higher speed of the two ways; 0 when unknown
    uint32_t tick_ms = 0;    // GetTickCount when read, which wraps after 49.7 days
};

// What the probe asks of Windows for it.
class InterfaceCountersPort {
  public:
    virtual ~InterfaceCountersPort() = default;
    // The counters of the interface that routes to the address; nothing where Windows does
    // not tell.
    virtual std::optional<OctetReading> Read(uint32_t address) = 0;
};

// A link whose rates reach no more than this is never called busy by the automatic rule:
// the chatter of an idle computer would otherwise set the highest rate seen.
inline constexpr uint32_t kLeastBusyKbps = 256;
// Rates over a shorter time are noise; over a longer one (a sleep, a hung probe) they say
// nothing of the moment of the probe.
inline constexpr uint32_t kShortestRateSpanMs = 500;
inline constexpr uint32_t kLongestRateSpanMs = 75000;

// The octets counted between two readings: nothing when the counter went back (reset with
// the interface); a 32-bit counter that passed 4 GiB has wrapped once.
std::optional<uint64_t> OctetsBetween(uint64_t before, uint64_t after, bool wide);
// Bits per second, rounded down.
uint64_t RateBps(uint64_t octets, uint32_t span_ms);

// The rates between readings, and the highest of each way seen on the interface since it
// was first read (forgotten when the route moves to another interface).
class LoadMeter {
  public:
    // The load over the time since the previous reading. Busy: either way above the user's
    // rate (`busy_kbps`), or, when that is 0, above half the highest rate seen that way and
    // above kLeastBusyKbps.
    ProbeLoad Take(const std::optional<OctetReading>& reading, uint32_t busy_kbps);
    // The newest load taken was busy.
    bool Busy() const { return busy_; }

  private:
    std::optional<OctetReading> last_;
    uint64_t highest_receive_bps_ = 0;
    uint64_t highest_send_bps_ = 0;
    bool busy_ = false;
};

}  // namespace zv::monitor
