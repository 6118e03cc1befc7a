// The modern stack's ports on Windows, made together: WMI, IP Helper and netsh over the
// registry given. Each read and write waits a bounded time; a window reads from a worker.
#pragma once

#include "netstack/stack_ports.h"
#include "win32/netstack/ip_interface_port.h"
#include "win32/netstack/netsh_runner.h"
#include "win32/netstack/wmi_stack_port.h"

namespace zv::win32 {

class Win32StackPorts {
  public:
    explicit Win32StackPorts(RegistryPort& registry)
        : ports_{wmi_, interfaces_, netsh_, registry} {}
    Win32StackPorts(const Win32StackPorts&) = delete;
    Win32StackPorts& operator=(const Win32StackPorts&) = delete;

    netstack::StackPorts& ports() { return ports_; }

  private:
    Win32WmiPort wmi_;
    Win32IpInterfacePort interfaces_;
    Win32NetshPort netsh_;
    netstack::StackPorts ports_;
};

}  // namespace zv::win32
