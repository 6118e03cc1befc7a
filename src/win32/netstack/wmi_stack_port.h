// The modern stack's WMI classes (ROOT\StandardCimv2) through COM, with ole32 and oleaut32
// loaded at run time. Every call runs on a thread of its own with COM set up there, and is
// given up after a bounded wait; a Windows or Wine without the namespace or class answers
// NotAvailable, never an error box. A write given up on goes on alone and may still be
// saved, so it answers TimedOut, which the change tells as not known, keeping its snapshot.
#pragma once

#include "netstack/stack_ports.h"
#include "win32/platform/system_library.h"

namespace zv::win32 {

class Win32WmiPort : public netstack::WmiPort {
  public:
    netstack::WmiAnswer Query(netstack::WmiClass wmi_class,
                              const std::vector<std::string>& properties) override;
    netstack::PortStatus Write(netstack::WmiClass wmi_class, const std::string& setting_name,
                               const std::string& property, uint32_t value) override;

  private:
    SystemLibrary ole32_{"ole32.dll"};
    SystemLibrary oleaut32_{"oleaut32.dll"};
};

}  // namespace zv::win32
