// The sandbox network's ICMP counters, read through the control folder: the namespace has
// counters of its own, so an echo request a program sends to a mapped host shows as one
// more InEchos there.
#pragma once

#include <optional>

namespace zv::e2e {

// The echo requests the sandbox network has received (InEchos) so far; nothing outside the
// sandbox or when no answer came.
std::optional<long long> EchoRequestsReceived();

}  // namespace zv::e2e
