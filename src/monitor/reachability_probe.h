// The companion's probe of the internet, one cycle of which may take half a minute: the
// probe host's name resolved and one echo sent; when it goes unanswered, a TCP connection
// to the host's port 443, then 80; when that fails too, the search for where the trouble
// lies. It runs off the window's thread, one cycle at a time; the outcome comes back to
// the window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "monitor/probe_history.h"
#include "ping/echo_ports.h"

namespace zv::monitor {

struct ProbeOutcome {
    std::optional<uint32_t> round_trip_ms;  // nothing when lost
    // What Windows Sockets said when it could not be started; the probe then counts as
    // lost. Empty otherwise.
    std::string problem;
    bool via_tcp = false;          // the round trip is a TCP connect's
    Where where = Where::Unknown;  // of a loss
};

class ProbePort {
  public:
    virtual ~ProbePort() = default;
    // Starts one probe elsewhere; its outcome reaches VigiloView::ProbeFinished later,
    // on the window's thread. Called while one is under way only when that one is
    // overdue and given up.
    virtual void StartProbe(const std::string& host, int32_t timeout_ms) = 0;
};

// What an echo of limited time to live meets at a router on the way (IP_TTL_EXPIRED_TRANSIT).
inline constexpr uint32_t kEchoTtlExpired = 11013;
// Every echo but the probe's own waits this long: the gateway and the hops beyond it are
// near, and the cycle must end well within the probe period.
inline constexpr int32_t kNearEchoTimeoutMs = 3000;
// Hops tried for the first router beyond the gateway.
inline constexpr uint8_t kHopsTried = 4;

// The probe, on whatever thread runs it, kept from one cycle to the next. Nothing it
// meets is shown from here: a message box in a timer tick or on a worker would stack up
// every 30 s.
class ReachabilityProbe {
  public:
    ReachabilityProbe(ping::SocketsService& sockets, ping::EchoService& echo)
        : sockets_(sockets), echo_(echo) {}

    ProbeOutcome Run(const std::string& host, int32_t timeout_ms);

  private:
    // Sends nothing beyond the one echo to the gateway.
    void WatchGateway(ping::EchoHandle handle, uint32_t address);
    std::optional<uint32_t> ConnectTime(uint32_t address, int32_t timeout_ms);
    Where Locate(ping::EchoHandle handle, uint32_t address);
    ping::EchoResult Echo(ping::EchoHandle handle, uint32_t address);

    ping::SocketsService& sockets_;
    ping::EchoService& echo_;
    // Whether the gateway answered its echo while the host answered: a gateway that never
    // does says nothing by its silence.
    bool gateway_echoes_ = true;
    std::optional<uint32_t> last_address_;  // of the host, for a cycle whose name lookup fails
};

}  // namespace zv::monitor
