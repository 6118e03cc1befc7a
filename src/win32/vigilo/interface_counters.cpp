#include "win32/vigilo/interface_counters.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <iphlpapi.h>
// Vista's interface record: the function that fills it is looked up at run time.
#include <netioapi.h>

#include <algorithm>

namespace zv::win32 {
namespace {

using GetBestInterfaceFn = DWORD(WINAPI*)(IPAddr, PDWORD);
using GetIfEntry2Fn = DWORD(WINAPI*)(PMIB_IF_ROW2);
using GetIfEntryFn = DWORD(WINAPI*)(PMIB_IFROW);

}  // namespace

std::optional<monitor::OctetReading> InterfaceCounters::Read(uint32_t address) {
    auto best_interface = iphlpapi_.Function<GetBestInterfaceFn>("GetBestInterface");
    DWORD index = 0;
    if (best_interface == nullptr || best_interface(address, &index) != NO_ERROR) {
        return std::nullopt;
    }
    monitor::OctetReading reading;
    reading.interface_index = index;
    reading.tick_ms = GetTickCount();
    // The row is found by its index when the LUID is left 0 (learn.microsoft.com,
    // "GetIfEntry2 function").
    if (auto if_entry2 = iphlpapi_.Function<GetIfEntry2Fn>("GetIfEntry2")) {
        MIB_IF_ROW2 row{};
        row.InterfaceIndex = index;
        if (if_entry2(&row) == NO_ERROR) {
            reading.received = row.InOctets;
            reading.sent = row.OutOctets;
            reading.speed_bps = std::max(row.ReceiveLinkSpeed, row.TransmitLinkSpeed);
            return reading;
        }
    }
    auto if_entry = iphlpapi_.Function<GetIfEntryFn>("GetIfEntry");
    MIB_IFROW row{};
    row.dwIndex = index;
    if (if_entry == nullptr || if_entry(&row) != NO_ERROR) {
        return std::nullopt;
    }
    reading.received = row.dwInOctets;
    reading.sent = row.dwOutOctets;
    reading.wide = false;
    reading.speed_bps = row.dwSpeed;
    return reading;
}

}  // namespace zv::win32
