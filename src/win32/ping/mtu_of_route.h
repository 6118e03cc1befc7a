// The MTU of the interface Windows routes an address through, so that a search for the
// largest packet starts from what the first link can carry (9000 on a jumbo link, 1492 on
// PPPoE). Every function is looked up at run time: GetIpInterfaceEntry from Vista on,
// GetIfEntry before.
#pragma once

#include <cstdint>
#include <optional>

#include "win32/platform/system_library.h"

namespace zv::win32 {

// The address in network byte order; nothing where Windows cannot tell.
std::optional<uint32_t> MtuOfRoute(SystemLibrary& iphlpapi, uint32_t address);

}  // namespace zv::win32
