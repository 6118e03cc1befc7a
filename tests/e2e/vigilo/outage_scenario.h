// Where the link breaks, end to end on the sandbox's routed network (gateway, provider and
// host, each a namespace of the run): one of them goes silent and the tip, the history
// window and its graph name the right place; with echoes dropped at the host but its port
// 443 open, the link stays up through TCP.
#pragma once

#include "support/scenario_runner.h"

namespace zv::e2e {

// Words: which part goes silent, "gateway", "provider" or "host".
bool OutageScenario(const Arguments& words);

// The probe host is set in the history window's Options; then the host ignores echoes.
void TcpFallbackScenario();
// The gateway stands in for the host, as a captive portal does, then lets go.
void PortalScenario();
// The gateway forwards but never tells that a time to live ran out; the host goes silent.
void MuteGatewayScenario();
// The name server goes silent and the hosts file forgets the probe host.
void NameLostScenario();

}  // namespace zv::e2e
