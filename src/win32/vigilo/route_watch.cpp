#include "win32/vigilo/route_watch.h"

#include <iphlpapi.h>

namespace zv::win32 {
namespace {

using GetBestRouteFn = DWORD(WINAPI*)(DWORD, DWORD, PMIB_IPFORWARDROW);

constexpr DWORD kDirectRoute = 3;  // MIB_IPROUTE_TYPE_DIRECT: the address is on the link

}  // namespace

RouteWatch::RouteWatch() : iphlpapi_("iphlpapi.dll"), wsock32_("wsock32.dll") {}

std::optional<uint32_t> RouteWatch::Gateway(uint32_t address) {
    auto best_route = iphlpapi_.Function<GetBestRouteFn>("GetBestRoute");
    MIB_IPFORWARDROW row{};
    if (best_route == nullptr || best_route(address, 0, &row) != NO_ERROR) {
        return std::nullopt;
    }
    DWORD next_hop = row.dwForwardNextHop;
    if (row.dwForwardType == kDirectRoute || next_hop == 0 || next_hop == address) {
        return std::nullopt;
    }
    return next_hop;
}

bool RouteWatch::Resolve() {
    if (!resolved_) {
        resolved_ = true;
        socket_ = wsock32_.Function<SocketFn>("socket");
        ioctl_ = wsock32_.Function<IoctlFn>("ioctlsocket");
        connect_ = wsock32_.Function<ConnectFn>("connect");
        select_ = wsock32_.Function<SelectFn>("select");
        close_ = wsock32_.Function<CloseFn>("closesocket");
        last_error_ = wsock32_.Function<LastErrorFn>("WSAGetLastError");
    }
    return socket_ != nullptr && ioctl_ != nullptr && connect_ != nullptr && select_ != nullptr &&
           close_ != nullptr && last_error_ != nullptr;
}

// A non-blocking connect waited for with select: the connection is open when the socket
// turns writable, refused or failed when it lands in the error set.
std::optional<uint32_t> RouteWatch::ConnectMs(uint32_t address, uint16_t port, int32_t timeout_ms) {
    if (!Resolve()) {
        return std::nullopt;
    }
    SOCKET s = socket_(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        return std::nullopt;
    }
    u_long non_blocking = 1;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = static_cast<u_short>((port >> 8) | ((port & 0xFF) << 8));
    target.sin_addr.s_addr = address;
    DWORD started = GetTickCount();
    std::optional<uint32_t> connect_ms;
    if (ioctl_(s, FIONBIO, &non_blocking) == 0 &&
        (connect_(s, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0 ||
         last_error_() == WSAEWOULDBLOCK)) {
        // Filled by hand: FD_ISSET would import a function of Windows Sockets statically.
        fd_set writable{};
        fd_set failed{};
        writable.fd_count = failed.fd_count = 1;
        writable.fd_array[0] = failed.fd_array[0] = s;
        timeval wait{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
        // select leaves in each set the sockets that are ready.
        if (select_(0, nullptr, &writable, &failed, &wait) > 0 && writable.fd_count == 1 &&
            failed.fd_count == 0) {
            connect_ms = GetTickCount() - started;
        }
    }
    close_(s);
    return connect_ms;
}

}  // namespace zv::win32
