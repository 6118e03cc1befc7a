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

}  // namespace

ProbeOutcome RunProbe(ping::SocketsService& sockets, ping::EchoService& echo,
                      const std::string& host, int32_t timeout_ms) {
    KeptMessage kept;
    ping::mdlPing engine(sockets, echo, kept, "Vigilo");
    ProbeOutcome outcome;
    outcome.round_trip_ms = engine.PingRoundTrip(host, timeout_ms);
    outcome.problem = kept.text;
    return outcome;
}

}  // namespace zv::monitor
