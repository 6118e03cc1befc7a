// Writes the tuning values into the registry keys the TCP/IP stack reads at boot, in the
// layout of the running Windows family, and removes those left to Windows.
#pragma once

#include <cstdint>

#include "common/windows_family.h"
#include "sysconfig/registry_port.h"
#include "sysconfig/settings_catalogue.h"
#include "tuning/tuning_settings.h"

namespace zv {

// The Windows 9x layout or the NT layout, after the family; an unrecognised family writes
// nothing.
// Every row is attempted whatever the earlier ones did. True when every write and removal
// succeeded (removing a value that is not there counts as success); false when Windows
// refused any of them, typically for want of administrator rights.
bool WriteTcpParameters(RegistryPort& registry, const TuningSettings& settings,
                        WindowsFamily windows_family);
// The same for rows already listed (CatalogueRows), as Apply lists the interfaces once.
bool WriteTcpParameters(RegistryPort& registry, const TuningSettings& settings,
                        const std::vector<CatalogueRow>& rows);

// Removes every value of the family's layout Zorvane writes, each interface's too, where it
// is; keys stay. True when none was refused.
bool RemoveTcpParameters(RegistryPort& registry, WindowsFamily windows_family);

}  // namespace zv
