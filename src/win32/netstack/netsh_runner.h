// netsh.exe, started by its full System32 path (never through cmd or the search path) with
// the arguments of the core's fixed table, hidden, and waited for a bounded time. Its output
// goes nowhere: Windows translates it, so only the exit code counts.
#pragma once

#include "netstack/stack_ports.h"

namespace zv::win32 {

class Win32NetshPort : public netstack::NetshPort {
  public:
    netstack::NetshRun Run(const std::vector<std::string>& arguments) override;
};

}  // namespace zv::win32
