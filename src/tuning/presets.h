// The presets of Automatic mode: one per connection type, in two groups chosen by the
// Windows family (group A for family 4 and above, group B below).
#pragma once

#include <cstdint>

#include "tuning/tuning_settings.h"

namespace zv {

// Overwrites every field of `current` with the preset for the connection type and Windows
// family. A connection type outside 0 to 4 leaves `current` unchanged.
void ApplyPreset(TuningSettings& current, int16_t connection_type, int16_t windows_family);

}  // namespace zv
