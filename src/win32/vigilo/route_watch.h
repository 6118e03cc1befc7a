// What the companion's probe needs of Windows beside the echo: the gateway of the route
// to an address (GetBestRoute from "iphlpapi.dll") and a TCP connection that is opened and
// closed again, sending nothing (Windows Sockets 1.1 from "wsock32.dll"), both loaded from
// the system folder on first use. Used by the probe thread alone.
#pragma once

#include <winsock2.h>

#include "monitor/reachability_probe.h"
#include "win32/platform/system_library.h"

namespace zv::win32 {

class RouteWatch : public monitor::RoutePort {
  public:
    RouteWatch();

    std::optional<uint32_t> Gateway(uint32_t address) override;
    // Windows Sockets is started already: the probe holds it for the whole cycle.
    std::optional<uint32_t> ConnectMs(uint32_t address, uint16_t port, int32_t timeout_ms) override;

  private:
    bool Resolve();

    using SocketFn = SOCKET(WSAAPI*)(int, int, int);
    using IoctlFn = int(WSAAPI*)(SOCKET, long, u_long*);
    using ConnectFn = int(WSAAPI*)(SOCKET, const sockaddr*, int);
    using SelectFn = int(WSAAPI*)(int, fd_set*, fd_set*, fd_set*, const timeval*);
    using CloseFn = int(WSAAPI*)(SOCKET);
    using LastErrorFn = int(WSAAPI*)();

    SystemLibrary iphlpapi_;
    SystemLibrary wsock32_;
    bool resolved_ = false;
    SocketFn socket_ = nullptr;
    IoctlFn ioctl_ = nullptr;
    ConnectFn connect_ = nullptr;
    SelectFn select_ = nullptr;
    CloseFn close_ = nullptr;
    LastErrorFn last_error_ = nullptr;
};

}  // namespace zv::win32
