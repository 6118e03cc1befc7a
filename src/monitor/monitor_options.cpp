#include "monitor/monitor_options.h"

#include <algorithm>
#include <iterator>

#include "common/named_member.h"
#include "monitor/history_span.h"
#include "ping/host_check.h"

namespace zv::monitor {
namespace {

constexpr char kSpanValue[] = "GraphSpanHours";
constexpr char kHostValue[] = "ProbeHost";
constexpr char kKeepDaysValue[] = "HistoryDays";

// The on/off options: a stored value other than 0 or 1 leaves the default.
using FlagOption = NamedMember<MonitorOptions, bool>;
constexpr FlagOption kFlags[] = {
    {"LogFile", &MonitorOptions::log},
    {"Notices", &MonitorOptions::notices},
    {"BloatNotice", &MonitorOptions::bloat_notice},
    {"SystemColours", &MonitorOptions::system_colours},
};

// The numeric options: a missing value is 0 (off), a larger one than `most` is `most`.
struct NumberOption {
    const char* name;
    uint32_t MonitorOptions::*member;
    uint32_t most;
};
constexpr NumberOption kNumbers[] = {
    {"SlowRoundTripMs", &MonitorOptions::slow_round_trip_ms, UINT32_MAX},
    {"SlowLossPercent", &MonitorOptions::slow_loss_percent, 100},
    {"BusyRateKbps", &MonitorOptions::busy_kbps, UINT32_MAX},
};

// A stored host as the user is told of it: a long one by its start, cut between characters.
std::string QuotedHost(const std::string& host) {
    constexpr std::size_t kShown = 60;
    if (host.size() <= kShown + 3) {
        return "\"" + host + "\"";
    }
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(host[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return "\"" + host.substr(0, cut) + "...\" (" + std::to_string(host.size()) + " bytes)";
}

void ReadFlagsAndNumbers(OptionsPort& port, MonitorOptions& options) {
    for (const FlagOption& flag : kFlags) {
        std::optional<uint32_t> value = port.Read(flag.name);
        if (value && *value <= 1) {
            options.*flag.member = *value == 1;
        }
    }
    for (const NumberOption& number : kNumbers) {
        options.*number.member = std::min(port.Read(number.name).value_or(0), number.most);
    }
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
    ReadFlagsAndNumbers(port, options);
    std::optional<uint32_t> span = port.Read(kSpanValue);
    if (span && std::count(std::begin(kSpanHours), std::end(kSpanHours),
                           static_cast<int>(std::min<uint32_t>(*span, 1u << 20))) > 0) {
        options.span_hours = static_cast<int>(*span);
    }
    if (std::optional<std::string> host = port.ReadText(kHostValue)) {
        TakenHost taken = TakeProbeHost(port, *host);
        if (taken.problem.empty()) {
            options.host = taken.host;
        } else {
            loaded.refused_host = "The stored probe host " + QuotedHost(*host) +
                                  " cannot be probed: " + taken.problem + ". Vigilo probes " +
                                  options.host + " instead.";
        }
    }
    std::optional<uint32_t> keep = port.Read(kKeepDaysValue);
    if (keep && *keep >= 1 && *keep <= kMaxKeepDays) {
        options.keep_days = static_cast<int>(*keep);
    }
    return loaded;
}

void SaveMonitorOptions(OptionsPort& port, const MonitorOptions& options,
                        const MonitorOptions& stored) {
    for (const FlagOption& flag : kFlags) {
        if (options.*flag.member != stored.*flag.member) {
            port.Write(flag.name, options.*flag.member ? 1 : 0);
        }
    }
    for (const NumberOption& number : kNumbers) {
        if (options.*number.member != stored.*number.member) {
            port.Write(number.name, options.*number.member);
        }
    }
    if (options.span_hours != stored.span_hours) {
        port.Write(kSpanValue, static_cast<uint32_t>(options.span_hours));
    }
    if (options.host != stored.host) {
        port.WriteText(kHostValue, options.host);
    }
    if (options.keep_days != stored.keep_days) {
        port.Write(kKeepDaysValue, static_cast<uint32_t>(options.keep_days));
    }
}

}  // namespace zv::monitor
