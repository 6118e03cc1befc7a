// The IP layer's interfaces through IP Helper, every Vista function looked up at run time:
// before Vista there is no table, and Wine 8 has the table but not SetIpInterfaceEntry,
// which is then reported as not available rather than claimed. The persistent store's NlMtu
// is neither read nor removed here: IP Helper documents no call for either (its Get and Set
// calls reach the active store only), so Undo stores the MTU that was in effect, as it was
// recorded.
#pragma once

#include "netstack/stack_ports.h"
#include "win32/platform/system_library.h"

namespace zv::win32 {

class Win32IpInterfacePort : public netstack::IpInterfacePort {
  public:
    netstack::IpInterfaceList Interfaces() override;
    netstack::PortStatus SetMtu(const netstack::IpInterface& target, uint32_t mtu) override;
    std::optional<uint32_t> BestInterface(uint32_t address) override;

  private:
    SystemLibrary iphlpapi_{"iphlpapi.dll"};
};

}  // namespace zv::win32
