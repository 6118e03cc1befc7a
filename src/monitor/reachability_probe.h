// The companion's probe of the internet, one cycle of which may take half a minute: the
// probe host's name resolved (or, when the lookup fails, the address it last had) and one
// echo sent; when it goes unanswered, a TCP connection to the host's port 443, then 80;
// when that fails too, the search for where the trouble lies. It runs off the window's
// thread, one cycle at a time; the outcome comes back to the window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "monitor/link_load.h"
#include "monitor/probe_history.h"
#include "ping/echo_ports.h"
#include "ping/echo_engine.h"

namespace zv::monitor {

struct ProbeOutcome {
    std::optional<uint32_t> round_trip_ms;  // nothing when lost
    // What Windows Sockets said when it could not be started; the probe then counts as
    // lost. Empty otherwise.
    std::string problem;
    bool via_tcp = false;  // the round trip is a TCP connect's: the echo went unanswered
    // Of a TCP round trip: quicker than any echo the host ever answered, or the host never
    // answered one; a portal or proxy on the way may have opened the connection.
    bool may_be_proxy = false;
    bool name_failed = false;      // the lookup failed: the host's last address was probed
    bool unfound = false;          // the name never resolved: nothing was probed
    Where where = Where::Unknown;  // of a loss
    // The counters of the interface that routes to the host, read before the echo went out.
    std::optional<OctetReading> load;
};

class ProbePort {
  public:
    virtual ~ProbePort() = default;
    // Starts one probe elsewhere; its outcome reaches VigiloView::ProbeFinished later,
    // on the window's thread. Called while one is under way only when that one is
    // overdue and given up. An extra probe, while the link is busy, is one echo alone.
    virtual void StartProbe(const std::string& host, int32_t timeout_ms, bool extra = false) = 0;
};

// What an echo of limited time to live meets at a router on the way (IP_TTL_EXPIRED_TRANSIT).
inline constexpr uint32_t kEchoTtlExpired = 11013;
// No reply came in time (IP_REQ_TIMED_OUT).
inline constexpr uint32_t kEchoTimedOut = 11010;
// The echoes to the gateway wait this long, and those of limited time to live the
// shorter time: the gateway and the hops beyond it are near, silent hops are passed
// over, and the cycle must end well within the probe period.
inline constexpr int32_t kNearEchoTimeoutMs = 3000;
inline constexpr int32_t kHopEchoTimeoutMs = 1500;
// Hops tried for a router beyond the gateway that answers.
inline constexpr uint8_t kHopsTried = 4;

// The probe, on whatever thread runs it, kept from one cycle to the next. Nothing it
// meets is shown from here: a message box in a timer tick or on a worker would stack up
// every 30 s.
class ReachabilityProbe {
  public:
    ReachabilityProbe(ping::SocketsService& sockets, ping::EchoService& echo,
                      InterfaceCountersPort& counters)
        : sockets_(sockets), echo_(echo), counters_(counters) {}

    ProbeOutcome Run(const std::string& host, int32_t timeout_ms);
    // The load and one echo to the host's last address, nothing more: it samples the
    // latency while the link is busy, and a silent echo then is no outage to look into.
    // Nothing is sent before the host was found.
    ProbeOutcome RunExtra(int32_t timeout_ms);

  private:
    // The host's address now, or the last one it had when the lookup fails; remembered
    // for this host only.
    std::optional<uint32_t> Address(ping::EchoEngine& engine, const std::string& host,
                                    ProbeOutcome& outcome);
    // The echo, then TCP.
    void Reach(ping::EchoHandle handle, uint32_t address, int32_t timeout_ms,
               ProbeOutcome& outcome);
    void Answered(uint32_t round_trip_ms, ProbeOutcome& outcome);
    // Sends nothing beyond the one echo to the gateway.
    void WatchGateway(ping::EchoHandle handle, uint32_t address);
    std::optional<uint32_t> ConnectTime(uint32_t address, int32_t timeout_ms);
    void Locate(ping::EchoHandle handle, uint32_t address, ProbeOutcome& outcome);
    bool GatewayAnswers(ping::EchoHandle handle, uint32_t gateway);
    bool NearAnswers(ping::EchoHandle handle, uint32_t address);

    ping::SocketsService& sockets_;
    ping::EchoService& echo_;
    InterfaceCountersPort& counters_;
    // Whether the gateway answered its echo while the host answered: a gateway that never
    // does says nothing by its silence.
    bool gateway_echoes_ = true;
    // Of the host last probed: its last address, for a cycle whose name lookup fails, and
    // its quickest echo, which a TCP connect through a stand-in beats.
    std::string host_;
    std::optional<uint32_t> last_address_;
    std::optional<uint32_t> quickest_echo_ms_;
};

}  // namespace zv::monitor
