// The companion's per-user options, kept under HKEY_CURRENT_USER\Software\Zorvane\Vigilo:
// the log file, the notices, the span the history graph shows and the slow-notice limits
// as DWORD values, the probe host as text. A missing or unknown value reads as its default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zv::monitor {

inline constexpr char kOptionsKey[] = "Software\\Zorvane\\Vigilo";

// A public web site that answers pings; not the maker's own.
inline constexpr char kProbeHost[] = "www.wikipedia.org";

struct MonitorOptions {
    bool log = false;
    bool notices = true;
    int span_hours = 1;  // 1, 6 or 24
    std::string host = kProbeHost;
    // A slow notice when the last 10 minutes' median round trip or loss passes these; 0: off.
    uint32_t slow_round_trip_ms = 0;
    uint32_t slow_loss_percent = 0;
};

class OptionsPort {
  public:
    virtual ~OptionsPort() = default;
    // The value's number, or nothing when it is missing or not a DWORD.
    virtual std::optional<uint32_t> Read(const std::string& name) = 0;
    virtual void Write(const std::string& name, uint32_t value) = 0;
    // A text value; nothing when it is missing or not text.
    virtual std::optional<std::string> ReadText(const std::string& name) = 0;
    virtual void WriteText(const std::string& name, const std::string& value) = 0;
};

MonitorOptions LoadMonitorOptions(OptionsPort& port);
void SaveMonitorOptions(OptionsPort& port, const MonitorOptions& options);

}  // namespace zv::monitor
