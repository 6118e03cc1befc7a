// Switches the sandbox's answers to ICMP echo requests off and on, so that the probe host
// goes silent and comes back while the companion runs.
#pragma once

namespace zv::e2e {

// True when the sandbox did it in time.
bool SetSandboxEcho(bool answer);

}  // namespace zv::e2e
