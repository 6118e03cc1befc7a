// The platform services of the companion's probe: those of the echo engine, and what only
// the probe asks of Windows beside them: the gateway of the route to the probe host and
// whether it is a point-to-point link (GetBestRoute, GetIfEntry, GetIpAddrTable from
// "iphlpapi.dll") and a TCP connection opened and closed again, sending
// nothing (Windows Sockets 1.1 from "wsock32.dll"). Both are looked up on first use, and
// live here rather than in the shared services, which the main program carries too.
#pragma once

#include <winsock2.h>

#include <optional>

#include "win32/ping/icmp_echo_service.h"
#include "win32/ping/winsock_service.h"
#include "win32/platform/system_library.h"

namespace zv::win32 {

class ProbeSockets : public WinsockService {
  public:
    std::optional<uint32_t> ConnectMs(uint32_t address, uint16_t port, int32_t timeout_ms) override;

  private:
    struct TcpFunctions {
        SOCKET(WSAAPI* socket)(int, int, int);
        int(WSAAPI* ioctlsocket)(SOCKET, long, u_long*);
        int(WSAAPI* connect)(SOCKET, const sockaddr*, int);
        int(WSAAPI* select)(int, fd_set*, fd_set*, fd_set*, const timeval*);
        int(WSAAPI* closesocket)(SOCKET);
        int(WSAAPI* last_error)();
    };
    // Found, or not, on the first connect.
    const TcpFunctions* Tcp();

    bool resolved_ = false;
    std::optional<TcpFunctions> tcp_;
};

class ProbeEcho : public IcmpEchoService {
  public:
    std::optional<uint32_t> Gateway(uint32_t address) override;
    // The route's interface is a PPP one (GetIfEntry), or its next hop is one of the
    // computer's own addresses (GetIpAddrTable).
    bool PointToPoint(uint32_t address) override;

  private:
    std::optional<MIB_IPFORWARDROW> BestRoute(uint32_t address);
    bool IsOwnAddress(uint32_t address);
};

}  // namespace zv::win32
