#include "monitor/link_monitor.h"

#include <algorithm>
#include <limits>

#include "monitor/link_texts.h"

namespace zv::monitor {

LinkMonitor::LinkMonitor(const LinkMonitorPorts& ports, std::string host)
    : ports_(ports),
      host_(std::move(host)),
      log_(ports.log_files),
      options_(LoadMonitorOptions(ports.options)) {}

void LinkMonitor::Record(const Moment& sent, std::optional<uint32_t> round_trip_ms) {
    Probe probe{sent.wall, kLost, sent.tick_ms};
    if (round_trip_ms) {
        probe.round_trip_ms = static_cast<int32_t>(
            std::min<uint32_t>(*round_trip_ms, std::numeric_limits<int32_t>::max()));
    }
    history_.Add(probe);
    notice_ = notices_.Take(probe);
    if (options_.log) {
        log_.Write(probe, host_);
    }
    if (watcher_) {
        watcher_();
    }
}

std::string LinkMonitor::TipText() {
    return TrayTipText(history_, Now());
}

LinkNotice LinkMonitor::Notice() const {
    return options_.notices ? notice_ : LinkNotice{};
}

}  // namespace zv::monitor
