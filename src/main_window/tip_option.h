// The per-user "Show Tips at Startup" option, kept as the text "1" (on) or "0" (off) in
// the program's own per-user settings. A missing value reads as "1", so every new user
// sees the tips until they switch them off.
#pragma once

#include <optional>
#include <string>

namespace zv::main_window {

inline constexpr const char* kTipOptionSection = "Options";
inline constexpr const char* kTipOptionName = "Show Tips at Startup";

class TipOptionPort {
  public:
    virtual ~TipOptionPort() = default;
    // The stored text, or nothing when the value is missing or unreadable.
    virtual std::optional<std::string> Read() = 0;
    virtual void Write(const std::string& text) = 0;
};

// The stored text, "1" when missing.
std::string ReadTipOption(TipOptionPort& port);

// Whether the main window shows the tip dialog at start: the text read as a number is 1.
bool ShowTipsAtStartup(TipOptionPort& port);

}  // namespace zv::main_window
