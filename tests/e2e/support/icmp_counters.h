// The sandbox network's ICMP counters, read through the control folder: the namespace has
// counters of its own, so an echo request a program sends to a mapped host shows as one
// more InEchos there.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace zv::e2e {

// Counter name ("InEchos", "OutEchoReps", ...) to value.
using IcmpCounters = std::map<std::string, long long>;

// Asks the sandbox for its counters; nothing outside the sandbox or when no answer came.
std::optional<IcmpCounters> ReadIcmpCounters();

// The echo requests the sandbox network has received (InEchos) so far.
std::optional<long long> EchoRequestsReceived();

// The "Icmp:" lines of /proc/net/snmp (a line of names, then a line of values) as counters;
// nothing when they do not pair up.
std::optional<IcmpCounters> ParseIcmpCounters(const std::string& lines);

}  // namespace zv::e2e
