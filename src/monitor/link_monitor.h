// What the companion keeps of its probes: the history ring, the log file and the per-user
// options, and the texts made of them for the tray. The history window reads it while it
// is open and is told of each new probe.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "monitor/link_notices.h"
#include "monitor/monitor_options.h"
#include "monitor/probe_history.h"
#include "monitor/probe_log.h"

namespace zv::monitor {

class ClockPort {
  public:
    virtual ~ClockPort() = default;
    virtual Moment Now() = 0;
};

struct LinkMonitorPorts {
    ClockPort& clock;
    LogFilePort& log_files;
    OptionsPort& options;
};

class LinkMonitor {
  public:
    LinkMonitor(const LinkMonitorPorts& ports, std::string host);
    LinkMonitor(const LinkMonitor&) = delete;
    LinkMonitor& operator=(const LinkMonitor&) = delete;

    Moment Now() { return ports_.clock.Now(); }
    const std::string& Host() const { return host_; }

    // One probe sent at `sent`, with its round trip or nothing when it was lost: kept, and
    // logged when the log is on; the watcher hears of it.
    void Record(const Moment& sent, std::optional<uint32_t> round_trip_ms);

    const ProbeHistory& History() const { return history_; }
    std::string TipText();
    // The notice the newest probe calls for; empty when there is none or notices are off.
    LinkNotice Notice() const;
    // The newest probe was a first loss after answers: a second probe, sent at once,
    // decides whether the link dropped.
    bool AwaitsConfirmation() const { return notices_.AwaitsConfirmation(); }

    MonitorOptions& Options() { return options_; }
    void SaveOptions() { SaveMonitorOptions(ports_.options, options_); }
    const ProbeLog& Log() const { return log_; }

    // The one watcher (the open history window), or an empty function when it closed.
    void SetWatcher(std::function<void()> watcher) { watcher_ = std::move(watcher); }

  private:
    LinkMonitorPorts ports_;
    std::string host_;
    ProbeHistory history_;
    ProbeLog log_;
    LinkNotices notices_;
    LinkNotice notice_;
    MonitorOptions options_;
    std::function<void()> watcher_;
};

}  // namespace zv::monitor
