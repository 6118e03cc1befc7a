#include "monitor/reachability_probe.h"

#include <algorithm>

#include "ui/kept_message.h"

namespace zv::monitor {
namespace {

constexpr uint16_t kTcpPorts[] = {443, 80};

}  // namespace

ProbeOutcome ReachabilityProbe::Run(const std::string& host, int32_t timeout_ms) {
    ui::KeptMessage kept;
    ping::EchoEngine engine(sockets_, echo_, kept, "Vigilo");
    ProbeOutcome outcome;
    if (!engine.StartSockets()) {
        outcome.problem = kept.text;
        return outcome;
    }
    std::optional<uint32_t> address = Address(engine, host, outcome);
    if (address) {
        outcome.load = counters_.Read(*address);
        ping::EchoHandle handle = echo_.Open();
        Reach(handle, *address, timeout_ms, outcome);
        if (outcome.round_trip_ms) {
            WatchGateway(handle, *address);
        } else {
            Locate(handle, *address, outcome);
        }
        echo_.Close(handle);
    }
    engine.StopSockets();
    return outcome;
}

// The echo service needs no Windows Sockets: there is no name to look up.
ProbeOutcome ReachabilityProbe::RunExtra(int32_t timeout_ms) {
    ProbeOutcome outcome;
    if (!last_address_) {
        outcome.unfound = true;
        return outcome;
    }
    outcome.load = counters_.Read(*last_address_);
    ping::EchoHandle handle = echo_.Open();
    ping::EchoResult reply =
        echo_.SendTimedEcho(handle, *last_address_, ping::kEchoPayload, timeout_ms);
    if (reply.status == 0) {
        Answered(reply.round_trip_ms, outcome);
    }
    echo_.Close(handle);
    return outcome;
}

// A lookup that fails on a working link (the provider's name servers down) must not pass
// for an outage; a host never found is no outage at all, and a new host owes nothing to
// the address of the one before.
std::optional<uint32_t> ReachabilityProbe::Address(ping::EchoEngine& engine,
                                                   const std::string& host, ProbeOutcome& outcome) {
    if (host != host_) {
        host_ = host;
        last_address_.reset();
        quickest_echo_ms_.reset();
    }
    std::optional<uint32_t> address;
    if (std::optional<std::string> target = engine.ResolveDottedName(host)) {
        address = engine.AddressFromText(*target);
    }
    outcome.name_failed = !address;
    if (address) {
        last_address_ = address;
    }
    outcome.unfound = !last_address_;
    return last_address_;
}

void ReachabilityProbe::Reach(ping::EchoHandle handle, uint32_t address, int32_t timeout_ms,
                              ProbeOutcome& outcome) {
    ping::EchoResult reply = echo_.SendTimedEcho(handle, address, ping::kEchoPayload, timeout_ms);
    if (reply.status == 0) {
        Answered(reply.round_trip_ms, outcome);
    } else if ((outcome.round_trip_ms = ConnectTime(address, timeout_ms))) {
        outcome.via_tcp = true;
        outcome.may_be_proxy = !quickest_echo_ms_ || *outcome.round_trip_ms < *quickest_echo_ms_;
    }
}

void ReachabilityProbe::Answered(uint32_t round_trip_ms, ProbeOutcome& outcome) {
    outcome.round_trip_ms = round_trip_ms;
    quickest_echo_ms_ = std::min(quickest_echo_ms_.value_or(round_trip_ms), round_trip_ms);
}

void ReachabilityProbe::WatchGateway(ping::EchoHandle handle, uint32_t address) {
    if (std::optional<uint32_t> gateway = echo_.Gateway(address)) {
        gateway_echoes_ = NearAnswers(handle, *gateway);
    }
}

// Port 443 first, then 80, each with half the probe's time.
std::optional<uint32_t> ReachabilityProbe::ConnectTime(uint32_t address, int32_t timeout_ms) {
    for (uint16_t port : kTcpPorts) {
        if (std::optional<uint32_t> ms = sockets_.ConnectMs(address, port, timeout_ms / 2)) {
            return ms;
        }
    }
    return std::nullopt;
}

// One lost echo on a busy home network is no proof that the gateway is down; one that
// never answers echoes is asked once.
bool ReachabilityProbe::GatewayAnswers(ping::EchoHandle handle, uint32_t gateway) {
    for (int tries = gateway_echoes_ ? 2 : 1; tries > 0; --tries) {
        if (NearAnswers(handle, gateway)) {
            return true;
        }
    }
    return false;
}

bool ReachabilityProbe::NearAnswers(ping::EchoHandle handle, uint32_t address) {
    return echo_.SendTimedEcho(handle, address, ping::kEchoPayload, kNearEchoTimeoutMs).status == 0;
}

// The gateway silent is trouble at home. Past it, echoes to the host with a rising time to
// live look for the routers on the way: the furthest that answers decides. One beyond the
// gateway puts the trouble beyond the provider; when none answers within the hops tried
// (many routers never say that a time to live ran out, so a silent hop is passed over),
// it lies in the provider's network. The first hop is the gateway whichever of its
// addresses it answers from. On a point-to-point link (dial-up, PPPoE, a VPN) the route
// names no gateway of the home's own, or the computer itself: the first hop beyond the
// computer stands in for it. The host answering after all means the link is up.
void ReachabilityProbe::Locate(ping::EchoHandle handle, uint32_t address, ProbeOutcome& outcome) {
    bool point_to_point = echo_.PointToPoint(address);
    std::optional<uint32_t> gateway = point_to_point ? std::nullopt : echo_.Gateway(address);
    bool near_alive = gateway && GatewayAnswers(handle, *gateway);
    if (!point_to_point && (!gateway || (!near_alive && gateway_echoes_))) {
        outcome.where = Where::YourNetwork;
        return;
    }
    for (uint8_t ttl = 1; ttl <= kHopsTried; ++ttl) {
        ping::EchoResult reply =
            echo_.SendTtlEcho(handle, address, ping::kEchoPayload, ttl, kHopEchoTimeoutMs);
        if (reply.status == 0) {
            Answered(reply.round_trip_ms, outcome);
            return;
        }
        if (reply.status == kEchoTtlExpired) {
            if (ttl > 1 && (!gateway || reply.from != *gateway)) {
                outcome.where = Where::BeyondProvider;
                return;
            }
            near_alive = true;
        } else if (reply.status != kEchoTimedOut) {
            break;  // a router's word that it has no way on
        }
    }
    outcome.where = near_alive ? Where::YourProvider : Where::YourNetwork;
}

}  // namespace zv::monitor
