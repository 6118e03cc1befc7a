// Whether Windows counts the connection's data: GetNetworkConnectivityHint, which iphlpapi.dll
// exports from Windows 10 version 2004 on, looked up at run time. Where it is missing or
// fails, the cost is unknown (and the test asks the user, as on a metered connection).
#pragma once

#include "monitor/rpm_view.h"

namespace zv::win32 {

monitor::NetworkCost QueryNetworkCost();

}  // namespace zv::win32
