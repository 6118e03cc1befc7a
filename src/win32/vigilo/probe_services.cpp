#include "win32/vigilo/probe_services.h"

#include <iphlpapi.h>

#include <vector>

namespace zv::win32 {
namespace {

using GetBestRouteFn = DWORD(WINAPI*)(DWORD, DWORD, PMIB_IPFORWARDROW);
using GetIfEntryFn = DWORD(WINAPI*)(PMIB_IFROW);
using GetIpAddrTableFn = DWORD(WINAPI*)(PMIB_IPADDRTABLE, PULONG, BOOL);

constexpr DWORD kDirectRoute = 3;  // MIB_IPROUTE_TYPE_DIRECT: the address is on the link

// A non-blocking connect waited for with select: open when the socket turns writable,
// refused or failed when it lands in the error set.
template <typename Tcp>
bool Opens(const Tcp& tcp, SOCKET s, const sockaddr_in& target, int32_t timeout_ms) {
    u_long non_blocking = 1;
    if (tcp.ioctlsocket(s, FIONBIO, &non_blocking) != 0 ||
        (tcp.connect(s, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0 &&
         tcp.last_error() != WSAEWOULDBLOCK)) {
        return false;
    }
    // Filled by hand: FD_SET and FD_ISSET would import functions of Windows Sockets.
    fd_set writable{};
    fd_set failed{};
    writable.fd_count = failed.fd_count = 1;
    writable.fd_array[0] = failed.fd_array[0] = s;
    timeval wait{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
    // select leaves in each set the sockets that are ready.
    return tcp.select(0, nullptr, &writable, &failed, &wait) > 0 && writable.fd_count == 1 &&
           failed.fd_count == 0;
}

}  // namespace

const ProbeSockets::TcpFunctions* ProbeSockets::Tcp() {
    if (!resolved_) {
        resolved_ = true;
        TcpFunctions tcp{};
        if (library_.FindAll(tcp.socket, "socket", tcp.ioctlsocket, "ioctlsocket", tcp.connect,
                             "connect", tcp.select, "select", tcp.closesocket, "closesocket",
                             tcp.last_error, "WSAGetLastError")) {
            tcp_ = tcp;
        }
    }
    return tcp_ ? &*tcp_ : nullptr;
}

std::optional<uint32_t> ProbeSockets::ConnectMs(uint32_t address, uint16_t port,
                                                int32_t timeout_ms) {
    const TcpFunctions* tcp = Tcp();
    if (tcp == nullptr) {
        return std::nullopt;
    }
    SOCKET s = tcp->socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        return std::nullopt;
    }
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = static_cast<u_short>((port >> 8) | ((port & 0xFF) << 8));
    target.sin_addr.s_addr = address;
    DWORD started = GetTickCount();
    bool opened = Opens(*tcp, s, target, timeout_ms);
    DWORD took = GetTickCount() - started;
    tcp->closesocket(s);
    return opened ? std::optional<uint32_t>(took) : std::nullopt;
}

std::optional<MIB_IPFORWARDROW> ProbeEcho::BestRoute(uint32_t address) {
    auto best_route = iphlpapi_.Function<GetBestRouteFn>("GetBestRoute");
    MIB_IPFORWARDROW row{};
    if (best_route == nullptr || best_route(address, 0, &row) != NO_ERROR) {
        return std::nullopt;
    }
    return row;
}

std::optional<uint32_t> ProbeEcho::Gateway(uint32_t address) {
    std::optional<MIB_IPFORWARDROW> row = BestRoute(address);
    if (!row) {
        return std::nullopt;
    }
    DWORD next_hop = row->dwForwardNextHop;
    if (row->dwForwardType == kDirectRoute || next_hop == 0 || next_hop == address ||
        IsOwnAddress(next_hop)) {
        return std::nullopt;
    }
    return next_hop;
}

// A dial-up or VPN connection routes through its own address, or through an interface of
// type IF_TYPE_PPP.
bool ProbeEcho::PointToPoint(uint32_t address) {
    std::optional<MIB_IPFORWARDROW> row = BestRoute(address);
    if (!row) {
        return false;
    }
    auto if_entry = iphlpapi_.Function<GetIfEntryFn>("GetIfEntry");
    MIB_IFROW interface_row{};
    interface_row.dwIndex = row->dwForwardIfIndex;
    bool ppp = if_entry != nullptr && if_entry(&interface_row) == NO_ERROR &&
               interface_row.dwType == IF_TYPE_PPP;
    return ppp || (row->dwForwardNextHop != 0 && IsOwnAddress(row->dwForwardNextHop));
}

bool ProbeEcho::IsOwnAddress(uint32_t address) {
    auto addr_table = iphlpapi_.Function<GetIpAddrTableFn>("GetIpAddrTable");
    ULONG size = 0;
    if (addr_table == nullptr || addr_table(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER) {
        return false;
    }
    std::vector<unsigned char> buffer(size);
    auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(buffer.data());
    if (addr_table(table, &size, FALSE) != NO_ERROR) {
        return false;
    }
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        if (table->table[i].dwAddr == address) {
            return true;
        }
    }
    return false;
}

}  // namespace zv::win32
