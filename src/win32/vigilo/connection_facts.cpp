#include "win32/vigilo/connection_facts.h"

#include <windows.h>
#include <iphlpapi.h>

#include <optional>
#include <string>
#include <vector>

#include "win32/platform/system_library.h"
#include "win32/platform/wide_text.h"

namespace zv::win32 {
namespace {

using GetIpForwardTableFn = DWORD(WINAPI*)(PMIB_IPFORWARDTABLE, PULONG, BOOL);
using GetAdaptersInfoFn = DWORD(WINAPI*)(PIP_ADAPTER_INFO, PULONG);

// A table the call fills after saying how large it is; empty when it cannot.
template <typename Table, typename Fn>
std::vector<unsigned char> TableOf(Fn fill) {
    ULONG size = 0;
    std::vector<unsigned char> buffer;
    for (int attempt = 0; attempt < 3; ++attempt) {
        buffer.resize(size);
        DWORD result =
            fill(buffer.empty() ? nullptr : reinterpret_cast<Table*>(buffer.data()), &size);
        if (result == NO_ERROR) {
            return buffer;
        }
        if (result != ERROR_INSUFFICIENT_BUFFER && result != ERROR_BUFFER_OVERFLOW) {
            break;
        }
    }
    return {};
}

// The default route of the lowest metric.
std::optional<MIB_IPFORWARDROW> DefaultRoute(SystemLibrary& iphlpapi) {
    auto forward_table = iphlpapi.Function<GetIpForwardTableFn>("GetIpForwardTable");
    if (forward_table == nullptr) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes = TableOf<MIB_IPFORWARDTABLE>(
        [&](MIB_IPFORWARDTABLE* table, PULONG size) { return forward_table(table, size, TRUE); });
    if (bytes.empty()) {
        return std::nullopt;
    }
    auto* table = reinterpret_cast<MIB_IPFORWARDTABLE*>(bytes.data());
    std::optional<MIB_IPFORWARDROW> best;
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        const MIB_IPFORWARDROW& row = table->table[i];
        if (row.dwForwardDest == 0 && row.dwForwardMask == 0 &&
            (!best || row.dwForwardMetric1 < best->dwForwardMetric1)) {
            best = row;
        }
    }
    return best;
}

std::string AddressText(DWORD address) {
    auto octet = [&](int n) { return std::to_string((address >> (8 * n)) & 0xFF); };
    return octet(0) + "." + octet(1) + "." + octet(2) + "." + octet(3);
}

std::string Utf8FromAnsi(const std::string& text) {
    return Utf8FromWide(WideFromAnsi(text));
}

// "Intel(R) Ethernet Connection (10.0.0.5)": the adapter's description and first address.
std::string AdapterText(SystemLibrary& iphlpapi, DWORD index) {
    auto adapters_info = iphlpapi.Function<GetAdaptersInfoFn>("GetAdaptersInfo");
    if (adapters_info == nullptr) {
        return "";
    }
    std::vector<unsigned char> bytes = TableOf<IP_ADAPTER_INFO>(adapters_info);
    if (bytes.empty()) {
        return "";
    }
    for (auto* adapter = reinterpret_cast<IP_ADAPTER_INFO*>(bytes.data()); adapter != nullptr;
         adapter = adapter->Next) {
        if (adapter->Index == index) {
            std::string address = adapter->IpAddressList.IpAddress.String;
            return Utf8FromAnsi(adapter->Description) +
                   (address.empty() ? "" : " (" + address + ")");
        }
    }
    return "";
}

std::string ZoneName() {
    TIME_ZONE_INFORMATION zone{};
    DWORD which = GetTimeZoneInformation(&zone);
    if (which == TIME_ZONE_ID_INVALID) {
        return "";
    }
    return Utf8FromWide(which == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightName : zone.StandardName);
}

}  // namespace

monitor::ConnectionFacts ReadConnectionFacts() {
    monitor::ConnectionFacts facts;
    facts.zone_name = ZoneName();
    SystemLibrary iphlpapi("iphlpapi.dll");
    if (std::optional<MIB_IPFORWARDROW> route = DefaultRoute(iphlpapi)) {
        facts.gateway = AddressText(route->dwForwardNextHop);
        facts.adapter = AdapterText(iphlpapi, route->dwForwardIfIndex);
    }
    return facts;
}

}  // namespace zv::win32
