// The "Show Tips at Startup" option in the current user's registry hive, under the
// program's own key: HKEY_CURRENT_USER\Software\Zorvane\Options, a REG_SZ value.
#pragma once

#include "main_window/tip_option.h"

namespace zv::win32 {

inline constexpr const char* kTipOptionKey = "Software\\Zorvane\\Options";

class RegistryTipOption : public main_window::TipOptionPort {
  public:
    std::optional<std::string> Read() override;
    void Write(const std::string& text) override;
};

}  // namespace zv::win32
