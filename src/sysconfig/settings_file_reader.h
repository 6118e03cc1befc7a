// Reading "Zorvane.cfg". The file is a stream of fields, each ending at a comma or a line
// end; keys are taken by position and not compared. Reading is strict: a hand-edited file
// must never put into the registry what the settings window could not have produced.
#pragma once

#include <optional>
#include <string_view>

#include "sysconfig/saved_choice_rules.h"
#include "tuning/tuning_settings.h"

namespace zv {

// The record after reading the file over `before`, or nothing when a field is missing,
// malformed or out of its range, or the Manual-mode values contradict each other.
std::optional<TuningSettings> ParseSettingsFile(std::string_view text,
                                                const TuningSettings& before);

}  // namespace zv
