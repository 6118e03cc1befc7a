#include "monitor/log_line.h"

#include "monitor/clock_texts.h"

namespace zv::monitor {
namespace {

// "23 ms", "30 ms (TCP only)", "23 ms (name lookup failed)".
std::string RoundTripText(const Probe& probe) {
    if (probe.via_tcp) {
        return MsText(probe.round_trip_ms) +
               (probe.may_be_proxy ? " (TCP only, may be a proxy)" : " (TCP only)");
    }
    return MsText(probe.round_trip_ms) + (probe.name_failed ? " (name lookup failed)" : "");
}

std::string FiguresText(const RecentFigures& recent) {
    std::string text = "; " + RecentLossText(recent);
    if (recent.hour.jitter_ms) {
        text += "; jitter " + MsText(*recent.hour.jitter_ms);
    }
    if (recent.hour.p95_ms) {
        text += "; 95th percentile " + MsText(*recent.hour.p95_ms);
    }
    return text;
}

// "; load 9600 kbit/s in, 180 kbit/s out, 96%, busy; extra probe"; empty when not measured.
std::string LoadText(const Probe& probe) {
    const ProbeLoad& load = probe.load;
    std::string text;
    if (load.known) {
        text = "; load " + std::to_string(load.receive_kbps) + " kbit/s in, " +
               std::to_string(load.send_kbps) + " kbit/s out, " + std::to_string(load.percent) +
               "%" + (load.busy ? ", busy" : "");
    }
    return text + (probe.extra ? "; extra probe" : "");
}

}  // namespace

std::string LogLine(const Probe& probe, const std::string& host, const RecentFigures& recent) {
    return IsoTime(probe.time) + " " + host + " " +
           (probe.lost() ? "lost" + WhereMark(probe.where) : RoundTripText(probe)) +
           FiguresText(recent) + LoadText(probe) + "\r\n";
}

}  // namespace zv::monitor
