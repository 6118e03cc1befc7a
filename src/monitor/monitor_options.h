// The companion's per-user options, kept under HKEY_CURRENT_USER\Software\Zorvane\Vigilo:
// the log file, the notices, the span the history graph shows, the slow-notice limits, the
// busy rate, the bufferbloat notice and the system colours as DWORD values, the probe host as text.
// A missing or unknown value reads as its default; so does a probe host that cannot be probed, and
// the user is told of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zv::monitor {

inline constexpr char kOptionsKey[] = "Software\\Zorvane\\Vigilo";

// A public web site that answers pings; not the maker's own.
inline constexpr char kProbeHost[] = "www.wikipedia.org";

inline constexpr int kKeepDays = 30;
inline constexpr int kMaxKeepDays = 365;

struct MonitorOptions {
    bool log = false;
    bool notices = true;
    int span_hours = 1;  // one of kSpanHours
    std::string host = kProbeHost;
    // A slow notice when the last 10 minutes' median round trip or loss passes these; 0: off.
    uint32_t slow_round_trip_ms = 0;
    uint32_t slow_loss_percent = 0;
    // The link is busy above this rate either way, in kbit/s; 0: above half the highest
    // rate seen.
    uint32_t busy_kbps = 0;
    // A notice when the latency added while the link is busy gets a worse grade.
    bool bloat_notice = false;
    // The history graph in Windows' system colours even without high contrast.
    bool system_colours = false;
    // How long the lasting record keeps each probe.
    int keep_days = kKeepDays;
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
    // The ASCII ("xn--") form of an international host name, where Windows can make it;
    // nothing otherwise. It lives beside the options, which are where a host is taken.
    virtual std::optional<std::string> AsciiHostName(const std::string& name) {
        static_cast<void>(name);
        return std::nullopt;
    }
};

// The host as it is probed, or why it cannot be (see ping::HostProblem): text beyond ASCII
// in its ASCII form where the port can make it, refused with a reason otherwise.
struct TakenHost {
    std::string host;
    std::string problem;  // empty when taken
};
TakenHost TakeProbeHost(OptionsPort& port, const std::string& text);

struct LoadedOptions {
    MonitorOptions options;
    // The stored probe host that was refused, as the user is told it; empty when none was.
    std::string refused_host;
};
LoadedOptions LoadMonitorOptions(OptionsPort& port);
// Writes only the values that differ from `stored`, what the store is known to hold: a
// value the companion could not read (an administrator's, say) stays as it was.
void SaveMonitorOptions(OptionsPort& port, const MonitorOptions& options,
                        const MonitorOptions& stored);

}  // namespace zv::monitor
