// The ICMP echo engine: pings a host text (a dotted IPv4 address or a name) once and says
// whether an echo reply came back in time. Both programs use it: Ping Now and the
// companion's reachability probe. It keeps no state between calls; every Windows Sockets
// start-up it makes is matched by exactly one clean-up before the call returns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ping/echo_ports.h"
#include "ui/ports.h"

namespace zv::ping {

// The payload every request carries, without a terminating zero.
inline constexpr std::string_view kEchoPayload = "Echo This";

// The part of the platform's reply the engine reads.
struct EchoReply {
    uint32_t Status = 0;
    uint32_t RoundTripTime = 0;  // ms; meaningful only with status 0
};

class EchoEngine {
  public:
    EchoEngine(SocketsService& sockets, EchoService& echo, ui::MessageBoxPort& messages,
               std::string program_title);

    // True when an echo reply with status 0 came back within the timeout. Blank hosts,
    // unknown names and malformed addresses give false without a message.
    bool PingOnce(const std::string& host, int32_t timeout_ms);

    // The same ping, measured: the reply's round-trip time in ms, or nothing whenever
    // PingOnce would say false.
    std::optional<uint32_t> PingRoundTrip(const std::string& host, int32_t timeout_ms);

    // Sends one request to the host and fills the reply. False, with nothing sent, when
    // the host text gives no address.
    bool SendEchoRequest(const std::string& host, EchoReply& reply, int32_t timeout_ms);

    // The host text a request goes to: a dotted name (Windows Sockets started) becomes its
    // first address, any other text stays as it is; nothing when the name is unknown.
    std::optional<std::string> ResolveDottedName(const std::string& host);

    // A text without a "." is resolved by name (Windows Sockets already started); any
    // other must be a well-formed dotted address.
    std::optional<uint32_t> AddressFromText(const std::string& host);

    // The name's addresses in dotted decimal, in the resolver's order; empty when the name
    // is unknown; nothing when Windows Sockets could not be started.
    std::optional<std::vector<std::string>> LookupHostAddresses(const std::string& name);

    // True when Windows Sockets 1.1 or later is started with at least one socket; on
    // false the user has been told why and nothing is left to clean up.
    bool StartSockets();
    void StopSockets();

  private:
    void Tell(const std::string& text, ui::MessageIcon icon);

    SocketsService& sockets_;
    EchoService& echo_;
    ui::MessageBoxPort& messages_;
    std::string program_title_;
};

}  // namespace zv::ping
