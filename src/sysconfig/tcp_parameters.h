// Writes the tuning values into the registry keys the TCP/IP stack reads at boot, in the
// layout of the running Windows release, and removes those left to Windows.
#pragma once

#include <cstdint>

#include "common/windows_release.h"
#include "sysconfig/registry_port.h"
#include "sysconfig/settings_catalogue.h"
#include "tuning/tuning_settings.h"

namespace zv {

// The Windows 9x layout or the NT layout, after the release; an unrecognised release writes
// nothing.
// Every row is attempted whatever the earlier ones did. True when every write and removal
// succeeded (removing a value that is not there counts as success); false when Windows
// refused any of them, typically for want of administrator rights.
bool WriteTcpParameters(RegistryPort& registry, const TuningSettings& settings,
                        WindowsRelease windows_release);
// The same for rows already listed (CatalogueRows), as Apply lists the interfaces once.
bool WriteTcpParameters(RegistryPort& registry, const TuningSettings& settings,
                        const std::vector<CatalogueRow>& rows);

}  // namespace zv
