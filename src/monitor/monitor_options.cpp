#include "monitor/monitor_options.h"

#include <algorithm>

#include "ping/ping_dialog_view.h"

namespace zv::monitor {
namespace {

constexpr char kLogValue[] = "LogFile";
constexpr char kNoticesValue[] = "Notices";
constexpr char kSpanValue[] = "GraphSpanHours";
constexpr char kHostValue[] = "ProbeHost";
constexpr char kSlowRoundTripValue[] = "SlowRoundTripMs";
constexpr char kSlowLossValue[] = "SlowLossPercent";

bool ReadFlag(OptionsPort& port, const char* name, bool fallback) {
    std::optional<uint32_t> value = port.Read(name);
    return value && *value <= 1 ? *value == 1 : fallback;
}

}  // namespace

MonitorOptions LoadMonitorOptions(OptionsPort& port) {
    MonitorOptions options;
    options.log = ReadFlag(port, kLogValue, options.log);
    options.notices = ReadFlag(port, kNoticesValue, options.notices);
    std::optional<uint32_t> span = port.Read(kSpanValue);
    if (span && (*span == 1 || *span == 6 || *span == 24)) {
        options.span_hours = static_cast<int>(*span);
    }
    std::optional<std::string> host = port.ReadText(kHostValue);
    if (host && ping::IsStorableHost(*host)) {
        options.host = *host;
    }
    options.slow_round_trip_ms = port.Read(kSlowRoundTripValue).value_or(0);
    options.slow_loss_percent = std::min<uint32_t>(port.Read(kSlowLossValue).value_or(0), 100);
    return options;
}

void SaveMonitorOptions(OptionsPort& port, const MonitorOptions& options) {
    port.Write(kLogValue, options.log ? 1 : 0);
    port.Write(kNoticesValue, options.notices ? 1 : 0);
    port.Write(kSpanValue, static_cast<uint32_t>(options.span_hours));
    port.WriteText(kHostValue, options.host);
    port.Write(kSlowRoundTripValue, options.slow_round_trip_ms);
    port.Write(kSlowLossValue, options.slow_loss_percent);
}

}  // namespace zv::monitor
