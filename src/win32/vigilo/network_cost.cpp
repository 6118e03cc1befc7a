#include "win32/vigilo/network_cost.h"

#include <windows.h>

#include "win32/platform/system_library.h"

namespace zv::win32 {
namespace {

// NL_NETWORK_CONNECTIVITY_HINT as netioapi.h lays it out: two enums, then three BOOLEANs.
struct ConnectivityHint {
    int level;
    int cost;
    BOOLEAN approaching_data_limit;
    BOOLEAN over_data_limit;
    BOOLEAN roaming;
};
using GetHintFn = DWORD(WINAPI*)(ConnectivityHint*);

}  // namespace

monitor::NetworkCost QueryNetworkCost() {
    SystemLibrary iphlpapi("iphlpapi.dll");
    auto get_hint = iphlpapi.Function<GetHintFn>("GetNetworkConnectivityHint");
    ConnectivityHint hint{};
    if (get_hint == nullptr || get_hint(&hint) != NO_ERROR) {
        return monitor::NetworkCost::Unknown;
    }
    return monitor::CostOfHint({hint.cost, hint.approaching_data_limit != 0,
                                hint.over_data_limit != 0, hint.roaming != 0});
}

}  // namespace zv::win32
