// Writes the tuning values into the registry keys the TCP/IP stack reads at boot, in the
// layout of the running Windows family, and removes those left to Windows.
#pragma once

#include <cstdint>

#include "sysconfig/registry_port.h"
#include "tuning/tuning_settings.h"

namespace zv {

// Family 1-4: the Windows 9x layout; 5-8: the NT layout; any other family writes nothing.
// Every row is attempted whatever the earlier ones did. True when every write and removal
// succeeded (removing a value that is not there counts as success); false when Windows
// refused any of them, typically for want of administrator rights.
bool WriteTcpParameters(RegistryPort& registry, const TuningSettings& settings,
                        int16_t windows_family);

}  // namespace zv
