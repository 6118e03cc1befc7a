#include "win32/netstack/ip_interface_port.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <iphlpapi.h>
// Vista's interface records: the functions that take them are looked up at run time.
#include <netioapi.h>

#include <cstdio>
#include <vector>

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
using GetAdaptersAddressesFn = ULONG(WINAPI*)(ULONG, ULONG, PVOID, PIP_ADAPTER_ADDRESSES_LH,
                                              PULONG);

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

// Where the table is not supported (Wine 8), the adapters' list gives each adapter's IPv4
// MTU as well.
IpInterfaceList AdaptersOnly(SystemLibrary& iphlpapi) {
    auto get = iphlpapi.Function<GetAdaptersAddressesFn>("GetAdaptersAddresses");
    IpInterfaceList list;
    const ULONG flags = GAA_FLAG_SKIP_UNICAST | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST |
                        GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16384;
    std::vector<unsigned char> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    // The list may grow between the call that sizes it and the next: once more at most.
    for (int tries = 0; get != nullptr && result == ERROR_BUFFER_OVERFLOW && tries < 2; ++tries) {
        buffer.resize(size);
        result = get(AF_INET, flags, nullptr,
                     reinterpret_cast<PIP_ADAPTER_ADDRESSES_LH>(buffer.data()), &size);
    }
    if (result != NO_ERROR) {
        return list;
    }
    auto* first = reinterpret_cast<PIP_ADAPTER_ADDRESSES_LH>(buffer.data());
    list.status = PortStatus::Ok;
    for (auto* adapter = first; adapter != nullptr; adapter = adapter->Next) {
        IpInterface row;
        row.luid = adapter->Luid.Value;
        row.index = adapter->IfIndex;
        row.mtu = adapter->Mtu;
        row.link_mtu = adapter->Mtu;
        row.name = AnsiOf(adapter->FriendlyName);
        row.loopback = adapter->IfType == kLoopbackType;
        list.rows.push_back(std::move(row));
    }
    return list;
}

}  // namespace

// Each family on its own: a machine without IPv6 has only one.
IpInterfaceList Win32IpInterfacePort::Interfaces() {
    auto get_table = iphlpapi_.Function<GetIpInterfaceTableFn>("GetIpInterfaceTable");
    auto free_table = iphlpapi_.Function<FreeMibTableFn>("FreeMibTable");
    IpInterfaceList list;
    if (get_table == nullptr || free_table == nullptr) {
        return list;
    }
    list.status = PortStatus::Failed;
    for (ADDRESS_FAMILY family : {AF_INET, AF_INET6}) {
        PMIB_IPINTERFACE_TABLE table = nullptr;
        DWORD error = get_table(family, &table);
        if (error == ERROR_NOT_SUPPORTED) {
            return AdaptersOnly(iphlpapi_);
        }
        if (error != NO_ERROR) {
            continue;
        }
        list.status = PortStatus::Ok;
        for (ULONG i = 0; i < table->NumEntries; ++i) {
            const MIB_IPINTERFACE_ROW& row = table->Table[i];
            IpInterface adapter;
            adapter.luid = row.InterfaceLuid.Value;
            adapter.index = row.InterfaceIndex;
            adapter.family = family == AF_INET6 ? IpFamily::V6 : IpFamily::V4;
            adapter.mtu = row.NlMtu;
            AddAdapterDetail(iphlpapi_, adapter, row.InterfaceLuid);
            list.rows.push_back(std::move(adapter));
        }
        free_table(table);
    }
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
