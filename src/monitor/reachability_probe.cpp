#include "monitor/reachability_probe.h"

#include "ping/mdl_ping.h"
#include "ui/ports.h"

namespace zv::monitor {
namespace {

// Keeps what the engine would have shown.
class KeptMessage : public ui::MessageBoxPort {
  public:
    ui::MessageAnswer Show(const ui::Message& message) override {
        text = message.text;
        return ui::MessageAnswer::Ok;
    }
    std::string text;
};

constexpr uint16_t kTcpPorts[] = {443, 80};

}  // namespace

ProbeOutcome ReachabilityProbe::Run(const std::string& host, int32_t timeout_ms) {
    KeptMessage kept;
    ping::mdlPing engine(sockets_, echo_, kept, "Vigilo");
    ProbeOutcome outcome;
    if (!engine.StartSockets()) {
        outcome.problem = kept.text;
        return outcome;
    }
    std::optional<uint32_t> address;
    if (std::optional<std::string> target = engine.ResolveDottedName(host)) {
        address = engine.AddressFromText(*target);
    }
    ping::EchoHandle handle = echo_.Open();
    if (address) {
        last_address_ = address;
        ping::EchoResult reply =
            echo_.SendTimedEcho(handle, *address, ping::kEchoPayload, timeout_ms);
        if (reply.status == 0) {
            outcome.round_trip_ms = reply.round_trip_ms;
        } else if ((outcome.round_trip_ms = ConnectTime(*address, timeout_ms))) {
            outcome.via_tcp = true;
        }
    }
    if (outcome.round_trip_ms) {
        WatchGateway(handle, *address);
    } else if (last_address_) {
        outcome.where = Locate(handle, *last_address_);
    }
    echo_.Close(handle);
    engine.StopSockets();
    return outcome;
}

void ReachabilityProbe::WatchGateway(ping::EchoHandle handle, uint32_t address) {
    if (std::optional<uint32_t> gateway = echo_.Gateway(address)) {
        gateway_echoes_ = Echo(handle, *gateway).status == 0;
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

ping::EchoResult ReachabilityProbe::Echo(ping::EchoHandle handle, uint32_t address) {
    return echo_.SendTimedEcho(handle, address, ping::kEchoPayload, kNearEchoTimeoutMs);
}

// The gateway silent is trouble at home; past it, echoes to the host with a rising time
// to live find the first router beyond the gateway: its answer puts the trouble beyond
// the provider, its silence (or its word that it has no way on) in the provider's
// network. The first hop is the gateway whichever of its addresses it answers from.
Where ReachabilityProbe::Locate(ping::EchoHandle handle, uint32_t address) {
    std::optional<uint32_t> gateway = echo_.Gateway(address);
    if (!gateway) {
        return Where::YourNetwork;
    }
    bool gateway_alive = Echo(handle, *gateway).status == 0;
    if (!gateway_alive && gateway_echoes_) {
        return Where::YourNetwork;
    }
    for (uint8_t ttl = 1; ttl <= kHopsTried; ++ttl) {
        ping::EchoResult reply =
            echo_.SendTtlEcho(handle, address, ping::kEchoPayload, ttl, kNearEchoTimeoutMs);
        bool expired = reply.status == kEchoTtlExpired;
        if (reply.status == 0 || (expired && ttl > 1 && reply.from != *gateway)) {
            return Where::BeyondProvider;
        }
        if (!expired) {
            return gateway_alive ? Where::YourProvider : Where::YourNetwork;
        }
        gateway_alive = true;
    }
    return Where::YourProvider;
}

}  // namespace zv::monitor
