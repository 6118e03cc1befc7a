// The companion's per-user options, kept as DWORD values under
// HKEY_CURRENT_USER\Software\Zorvane\Vigilo: the log file, the notices and the span the
// history graph shows. A missing or unknown value reads as its default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zv::monitor {

inline constexpr char kOptionsKey[] = "Software\\Zorvane\\Vigilo";

struct MonitorOptions {
    bool log = false;
    bool notices = true;
    int span_hours = 1;  // 1, 6 or 24
};

class OptionsPort {
  public:
    virtual ~OptionsPort() = default;
    // The value's number, or nothing when it is missing or not a DWORD.
    virtual std::optional<uint32_t> Read(const std::string& name) = 0;
    virtual void Write(const std::string& name, uint32_t value) = 0;
};

MonitorOptions LoadMonitorOptions(OptionsPort& port);
void SaveMonitorOptions(OptionsPort& port, const MonitorOptions& options);

}  // namespace zv::monitor
