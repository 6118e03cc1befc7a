#include "monitor/monitor_options.h"

#include <algorithm>

#include "ping/host_check.h"

namespace zv::monitor {
namespace {

constexpr char kLogValue[] = "LogFile";
constexpr char kNoticesValue[] = "Notices";
constexpr char kSpanValue[] = "GraphSpanHours";
constexpr char kHostValue[] = "ProbeHost";
constexpr char kSlowRoundTripValue[] = "SlowRoundTripMs";
constexpr char kSlowLossValue[] = "SlowLossPercent";
constexpr char kBusyRateValue[] = "BusyRateKbps";
constexpr char kBloatNoticeValue[] = "BloatNotice";
constexpr char kKeepDaysValue[] = "HistoryDays";

bool ReadFlag(OptionsPort& port, const char* name, bool fallback) {
    std::optional<uint32_t> value = port.Read(name);
    return value && *value <= 1 ? *value == 1 : fallback;
}

}  // namespace

TakenHost TakeProbeHost(OptionsPort& port, const std::string& text) {
    TakenHost taken{text, ""};
    if (!ping::IsAsciiText(text)) {
        std::optional<std::string> ascii = port.AsciiHostName(text);
        if (!ascii) {
            taken.problem = "it holds characters that this Windows cannot turn into a host name";
            return taken;
        }
        taken.host = *ascii;
    }
    taken.problem = ping::HostProblem(taken.host);
    return taken;
}

LoadedOptions LoadMonitorOptions(OptionsPort& port) {
    LoadedOptions loaded;
    MonitorOptions& options = loaded.options;
    options.log = ReadFlag(port, kLogValue, options.log);
    options.notices = ReadFlag(port, kNoticesValue, options.notices);
    std::optional<uint32_t> span = port.Read(kSpanValue);
    if (span && (*span == 1 || *span == 6 || *span == 24)) {
        options.span_hours = static_cast<int>(*span);
    }
    if (std::optional<std::string> host = port.ReadText(kHostValue)) {
        TakenHost taken = TakeProbeHost(port, *host);
        if (taken.problem.empty()) {
            options.host = taken.host;
        } else {
            loaded.refused_host = "The stored probe host \"" + *host +
                                  "\" cannot be probed: " + taken.problem + ". Vigilo probes " +
                                  options.host + " instead.";
        }
    }
    options.slow_round_trip_ms = port.Read(kSlowRoundTripValue).value_or(0);
    options.slow_loss_percent = std::min<uint32_t>(port.Read(kSlowLossValue).value_or(0), 100);
    options.busy_kbps = port.Read(kBusyRateValue).value_or(0);
    options.bloat_notice = ReadFlag(port, kBloatNoticeValue, options.bloat_notice);
    std::optional<uint32_t> keep = port.Read(kKeepDaysValue);
    if (keep && *keep >= 1 && *keep <= kMaxKeepDays) {
        options.keep_days = static_cast<int>(*keep);
    }
    return loaded;
}

void SaveMonitorOptions(OptionsPort& port, const MonitorOptions& options,
                        const MonitorOptions& stored) {
    auto flag = [&](const char* name, bool value, bool was) {
        if (value != was) {
            port.Write(name, value ? 1 : 0);
        }
    };
    auto number = [&](const char* name, uint32_t value, uint32_t was) {
        if (value != was) {
            port.Write(name, value);
        }
    };
    flag(kLogValue, options.log, stored.log);
    flag(kNoticesValue, options.notices, stored.notices);
    number(kSpanValue, static_cast<uint32_t>(options.span_hours),
           static_cast<uint32_t>(stored.span_hours));
    if (options.host != stored.host) {
        port.WriteText(kHostValue, options.host);
    }
    number(kSlowRoundTripValue, options.slow_round_trip_ms, stored.slow_round_trip_ms);
    number(kSlowLossValue, options.slow_loss_percent, stored.slow_loss_percent);
    number(kBusyRateValue, options.busy_kbps, stored.busy_kbps);
    flag(kBloatNoticeValue, options.bloat_notice, stored.bloat_notice);
    number(kKeepDaysValue, static_cast<uint32_t>(options.keep_days),
           static_cast<uint32_t>(stored.keep_days));
}

}  // namespace zv::monitor
