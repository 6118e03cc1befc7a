// The fixed table of netsh command lines Zorvane runs: nothing of the user's goes into one,
// only fixed words, numbers and the adapter names Windows gave.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "netstack/stack_catalogue.h"

namespace zv::netstack {

// The arguments that set the row to the value on this release ("int tcp set global
// autotuninglevel=normal"), or nothing when netsh does not set this row.
std::optional<std::vector<std::string>> NetshArguments(const StackRow& row, uint32_t value,
                                                       const StackMachine& machine);

// "netsh interface ipv4 set subinterface "Ethernet" mtu=1400 store=persistent": how the
// report names a run.
std::string NetshCommandLine(const std::vector<std::string>& arguments);

}  // namespace zv::netstack
