#include "win32/ping/mtu_of_route.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <iphlpapi.h>
// Vista's interface records: the headers leave them out below that release, and the
// functions that take them are looked up at run time.
#include <netioapi.h>

namespace zv::win32 {

namespace {

using GetBestInterfaceFn = DWORD(WINAPI*)(IPAddr, PDWORD);
using InitializeIpInterfaceEntryFn = VOID(WINAPI*)(PMIB_IPINTERFACE_ROW);
using GetIpInterfaceEntryFn = DWORD(WINAPI*)(PMIB_IPINTERFACE_ROW);
using GetIfEntryFn = DWORD(WINAPI*)(PMIB_IFROW);

// The IP layer's MTU of the interface: what a packet must fit, PPPoE's 1492 included.
std::optional<uint32_t> IpInterfaceMtu(SystemLibrary& iphlpapi, DWORD index) {
    auto get = iphlpapi.Function<GetIpInterfaceEntryFn>("GetIpInterfaceEntry");
    if (get == nullptr) {
        return std::nullopt;
    }
    MIB_IPINTERFACE_ROW row{};
    auto initialize = iphlpapi.Function<InitializeIpInterfaceEntryFn>("InitializeIpInterfaceEntry");
    if (initialize != nullptr) {
        initialize(&row);
    }
    row.Family = AF_INET;
    row.InterfaceIndex = index;
    if (get(&row) != NO_ERROR) {
        return std::nullopt;
    }
    return row.NlMtu;
}

// Before Vista: the interface's own MTU.
std::optional<uint32_t> IfEntryMtu(SystemLibrary& iphlpapi, DWORD index) {
    auto get = iphlpapi.Function<GetIfEntryFn>("GetIfEntry");
    if (get == nullptr) {
        return std::nullopt;
    }
    MIB_IFROW row{};
    row.dwIndex = index;
    if (get(&row) != NO_ERROR) {
        return std::nullopt;
    }
    return row.dwMtu;
}

}  // namespace

std::optional<uint32_t> MtuOfRoute(SystemLibrary& iphlpapi, uint32_t address) {
    auto best_interface = iphlpapi.Function<GetBestInterfaceFn>("GetBestInterface");
    DWORD index = 0;
    if (best_interface == nullptr || best_interface(address, &index) != NO_ERROR) {
        return std::nullopt;
    }
    if (std::optional<uint32_t> mtu = IpInterfaceMtu(iphlpapi, index)) {
        return mtu;
    }
    return IfEntryMtu(iphlpapi, index);
}

}  // namespace zv::win32
