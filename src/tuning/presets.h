// The presets of Automatic mode: one per connection type, in two groups chosen by the
// Windows release.
#pragma once

#include <cstdint>

#include "common/windows_release.h"
#include "tuning/tuning_settings.h"

namespace zv {

// Overwrites every field of `current` with the preset for the connection type and Windows
// release. A connection type outside 0 to 4 leaves `current` unchanged.
void ApplyPreset(TuningSettings& current, int16_t connection_type, WindowsRelease windows_release);

// What Restore writes: the Windows defaults as Manual-mode values of the connection type
// shown, each of the five tuning values left to Windows, Path MTU Discovery on, Black Hole
// detection off, and the connection limits at their first and third list positions. The
// window shows exactly this after Restore, and /restore writes it without a window.
TuningSettings WindowsDefaultsToRestore(const TuningSettings& defaults, int16_t connection_type);

}  // namespace zv
