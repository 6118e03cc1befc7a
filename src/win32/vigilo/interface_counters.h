// The octet counters of the interface that routes to the probe host (GetBestInterface): the
// 64-bit ones of GetIfEntry2 on Vista and later, looked up at run time; the 32-bit ones of
// GetIfEntry on XP and 2003. Read on the probe's worker, before its echo goes out.
#pragma once

#include "monitor/link_load.h"
#include "win32/platform/system_library.h"

namespace zv::win32 {

class InterfaceCounters : public monitor::InterfaceCountersPort {
  public:
    std::optional<monitor::OctetReading> Read(uint32_t address) override;

  private:
    SystemLibrary iphlpapi_{"iphlpapi.dll"};
};

}  // namespace zv::win32
