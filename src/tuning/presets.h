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

}  // namespace zv
