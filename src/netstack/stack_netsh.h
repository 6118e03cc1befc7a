// The fixed table of netsh command lines Zorvane runs: nothing of the user's goes into one,
// only fixed words and numbers. An adapter is named by its interface index, never by its
// alias: an alias may hold characters the ANSI code page lacks, quotes, a closing backslash
// or "=", each of which netsh would read as something else.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "netstack/stack_catalogue.h"

namespace zv::netstack {

// The arguments that set the row's setting (for its instance and adapter) to the value on
// this release ("int tcp set global autotuninglevel=normal"), or nothing when netsh does
// not set it here or the row's adapter has no index.
std::optional<std::vector<std::string>> NetshArguments(const StackRow& row, uint32_t value,
                                                       const StackMachine& machine);

// The arguments that put the setting back to the Windows default on Vista and 7, where its
// old value cannot be read ("int tcp set global ecncapability=default").
std::optional<std::vector<std::string>> NetshDefaultArguments(StackSetting setting);

// "netsh interface ipv4 set subinterface interface=12 mtu=1400 store=persistent": the
// arguments as the runner passes them, after the program's name.
std::string NetshCommandLine(const std::vector<std::string>& arguments);

}  // namespace zv::netstack
