// The companion's probe of the internet: the probe host's name resolved and one echo
// sent, which together may take the echo's whole timeout and more. It runs off the
// window's thread, one at a time; the outcome comes back to the window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ping/echo_ports.h"

namespace zv::monitor {

struct ProbeOutcome {
    std::optional<uint32_t> round_trip_ms;  // nothing when lost
    // What Windows Sockets said when it could not be started; the probe then counts as
    // lost. Empty otherwise.
    std::string problem;
};

class ProbePort {
  public:
    virtual ~ProbePort() = default;
    // Starts one probe elsewhere; its outcome reaches VigiloView::ProbeFinished later,
    // on the window's thread. Never called while a probe is under way.
    virtual void StartProbe(const std::string& host, int32_t timeout_ms) = 0;
};

// The probe itself, on whatever thread runs it. Nothing it meets is shown from here: a
// message box in a timer tick or on a worker would stack up every 30 s.
ProbeOutcome RunProbe(ping::SocketsService& sockets, ping::EchoService& echo,
                      const std::string& host, int32_t timeout_ms);

}  // namespace zv::monitor
