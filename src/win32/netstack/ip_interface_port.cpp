#include "win32/netstack/ip_interface_port.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <iphlpapi.h>
// Vista's interface records: the functions that take them are looked up at run time.
#include <netioapi.h>

#include <cstdio>

namespace zv::win32 {
namespace {

using netstack::IpFamily;
using netstack::IpInterface;
using netstack::IpInterfaceList;
using netstack::PortStatus;

using GetIpInterfaceTableFn = DWORD(WINAPI*)(ADDRESS_FAMILY, PMIB_IPINTERFACE_TABLE*);
using FreeMibTableFn = VOID(WINAPI*)(PVOID);
using GetIfEntry2Fn = DWORD(WINAPI*)(PMIB_IF_ROW2);
using InitializeIpInterfaceEntryFn = VOID(WINAPI*)(PMIB_IPINTERFACE_ROW);
using GetIpInterfaceEntryFn = DWORD(WINAPI*)(PMIB_IPINTERFACE_ROW);
using SetIpInterfaceEntryFn = DWORD(WINAPI*)(PMIB_IPINTERFACE_ROW);
using GetBestInterfaceFn = DWORD(WINAPI*)(IPAddr, PDWORD);

constexpr DWORD kLoopbackType = 24;  // IF_TYPE_SOFTWARE_LOOPBACK

std::string AnsiOf(const wchar_t* text) {
    char buffer[512] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof(buffer) - 1, nullptr, nullptr);
    return buffer;
}

std::string GuidText(const GUID& guid) {
    char text[40];
    std::snprintf(text, sizeof(text), "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

// The adapter's alias, own MTU, GUID and type, where GetIfEntry2 tells them.
void AddAdapterDetail(SystemLibrary& iphlpapi, IpInterface& adapter, const NET_LUID& luid) {
    auto get = iphlpapi.Function<GetIfEntry2Fn>("GetIfEntry2");
    MIB_IF_ROW2 row{};
    row.InterfaceLuid = luid;
    if (get == nullptr || get(&row) != NO_ERROR) {
        return;
    }
    adapter.name = AnsiOf(row.Alias);
    adapter.link_mtu = row.Mtu;
    adapter.guid = GuidText(row.InterfaceGuid);
    adapter.loopback = row.Type == kLoopbackType;
}

PortStatus StatusOfSet(DWORD error) {
    switch (error) {
        case NO_ERROR:
            return PortStatus::Ok;
        case ERROR_NOT_SUPPORTED:
        case ERROR_CALL_NOT_IMPLEMENTED:
            return PortStatus::NotAvailable;
        case ERROR_ACCESS_DENIED:
        case ERROR_INVALID_PARAMETER:
            return PortStatus::Refused;
        default:
            return PortStatus::Failed;
    }
}

}  // namespace

IpInterfaceList Win32IpInterfacePort::Interfaces() {
    auto get_table = iphlpapi_.Function<GetIpInterfaceTableFn>("GetIpInterfaceTable");
    auto free_table = iphlpapi_.Function<FreeMibTableFn>("FreeMibTable");
    IpInterfaceList list;
    PMIB_IPINTERFACE_TABLE table = nullptr;
    if (get_table == nullptr || free_table == nullptr) {
        return list;
    }
    if (get_table(AF_UNSPEC, &table) != NO_ERROR) {
        list.status = PortStatus::Failed;
        return list;
    }
    list.status = PortStatus::Ok;
    for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IPINTERFACE_ROW& row = table->Table[i];
        IpInterface adapter;
        adapter.luid = row.InterfaceLuid.Value;
        adapter.index = row.InterfaceIndex;
        adapter.family = row.Family == AF_INET6 ? IpFamily::V6 : IpFamily::V4;
        adapter.mtu = row.NlMtu;
        AddAdapterDetail(iphlpapi_, adapter, row.InterfaceLuid);
        list.interfaces.push_back(std::move(adapter));
    }
    free_table(table);
    return list;
}

PortStatus Win32IpInterfacePort::SetMtu(const IpInterface& target, uint32_t mtu) {
    auto initialize =
        iphlpapi_.Function<InitializeIpInterfaceEntryFn>("InitializeIpInterfaceEntry");
    auto get = iphlpapi_.Function<GetIpInterfaceEntryFn>("GetIpInterfaceEntry");
    auto set = iphlpapi_.Function<SetIpInterfaceEntryFn>("SetIpInterfaceEntry");
    if (initialize == nullptr || get == nullptr || set == nullptr) {
        return PortStatus::NotAvailable;
    }
    MIB_IPINTERFACE_ROW row{};
    initialize(&row);
    row.Family = target.family == IpFamily::V6 ? AF_INET6 : AF_INET;
    row.InterfaceLuid.Value = target.luid;
    if (get(&row) != NO_ERROR) {
        return PortStatus::Failed;
    }
    row.NlMtu = mtu;
    // The read gives IPv4 a site prefix length that the write then refuses.
    if (row.Family == AF_INET) {
        row.SitePrefixLength = 0;
    }
    return StatusOfSet(set(&row));
}

std::optional<uint32_t> Win32IpInterfacePort::BestInterface(uint32_t address) {
    auto best = iphlpapi_.Function<GetBestInterfaceFn>("GetBestInterface");
    DWORD index = 0;
    if (best == nullptr || best(address, &index) != NO_ERROR) {
        return std::nullopt;
    }
    return index;
}

}  // namespace zv::win32
