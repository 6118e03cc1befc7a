#include "monitor/link_monitor.h"

#include <algorithm>
#include <limits>

#include "common/program_name.h"
#include "monitor/history_lines.h"
#include "monitor/link_words.h"
#include "monitor/log_line.h"

namespace zv::monitor {

LinkMonitor::LinkMonitor(const LinkMonitorPorts& ports) : ports_(ports) {
    LoadedOptions loaded = LoadMonitorOptions(ports.options);
    options_ = stored_ = loaded.options;
    refused_host_ = loaded.refused_host;
}

std::string LinkMonitor::TakeHost(const std::string& text) {
    TakenHost taken = TakeProbeHost(ports_.options, text);
    if (taken.problem.empty()) {
        options_.host = taken.host;
    }
    return taken.problem;
}

void LinkMonitor::Record(const Moment& sent, std::optional<uint32_t> round_trip_ms, bool via_tcp,
                         Where where) {
    ProbeOutcome outcome;
    outcome.round_trip_ms = round_trip_ms;
    outcome.via_tcp = via_tcp;
    outcome.where = where;
    Record(sent, outcome);
}

void LinkMonitor::Record(const Moment& sent, const ProbeOutcome& outcome) {
    unfound_ = outcome.unfound;
    if (unfound_) {
        notice_ = {};
        if (watcher_) {
            watcher_();
        }
        return;
    }
    Probe probe{sent.wall, kLost, sent.tick_ms, false, outcome.where, Host()};
    if (outcome.round_trip_ms) {
        probe.round_trip_ms = static_cast<int32_t>(
            std::min<uint32_t>(*outcome.round_trip_ms, std::numeric_limits<int32_t>::max()));
        probe.via_tcp = outcome.via_tcp;
        probe.may_be_proxy = outcome.via_tcp && outcome.may_be_proxy;
        probe.name_failed = outcome.name_failed;
        probe.where = Where::Unknown;
    }
    history_.Add(probe);
    if (record_ != nullptr) {
        record_->Keep(probe);
    }
    RecentFigures recent = Recent(history_, probe.tick_ms);
    std::string detail;
    std::optional<bool> slow = probe.lost() ? std::nullopt : Slow(recent.ten_minutes, detail);
    notice_ = notices_.Take(probe, slow, detail);
    if (options_.log) {
        ports_.log.Write(LogLine(probe, Host(), recent));
    }
    if (watcher_) {
        watcher_();
    }
}

void LinkMonitor::Restore(const std::vector<Probe>& probes) {
    bool replay = history_.size() == 0;
    int64_t first_now = replay ? std::numeric_limits<int64_t>::max() : history_.at(0).tick_ms;
    ProbeHistory merged(history_.capacity());
    for (const Probe& probe : probes) {
        if (probe.tick_ms < first_now) {
            merged.Add(probe);
            if (replay) {
                notices_.Take(probe);
            }
        }
    }
    for (std::size_t i = 0; i < history_.size(); ++i) {
        merged.Add(history_.at(i));
    }
    history_ = std::move(merged);
    if (watcher_) {
        watcher_();
    }
}

std::optional<bool> LinkMonitor::Slow(const HistoryFigures& recent, std::string& detail) const {
    uint32_t ms_limit = options_.slow_round_trip_ms;
    uint32_t loss_limit = options_.slow_loss_percent;
    if (ms_limit == 0 && loss_limit == 0) {
        return std::nullopt;
    }
    const std::string span = " (last 10 minutes)";
    if (ms_limit > 0 && recent.median_ms && static_cast<uint32_t>(*recent.median_ms) > ms_limit) {
        detail = ": median round trip " + std::to_string(*recent.median_ms) + " ms" + span;
        return true;
    }
    // Losses of an outage were told as one; only those outside outages make a slow link.
    int lost = recent.lost - recent.lost_in_outages;
    int probes = recent.probes - recent.lost_in_outages;
    if (loss_limit > 0 && probes > 0 &&
        static_cast<uint32_t>(lost * 100) > loss_limit * static_cast<uint32_t>(probes)) {
        detail = ": " + LossPercentText(lost, probes) + "% loss" + span;
        return true;
    }
    return false;
}

std::string LinkMonitor::TipText(std::size_t limit) {
    if (unfound_) {
        return (std::string(kProgramName) + " - cannot find " + Host()).substr(0, limit);
    }
    return TrayTipText(history_, Now(), limit);
}

std::string LinkMonitor::NowText() {
    return unfound_ ? "Now: cannot find " + Host() : NowLine(history_, Now());
}

LinkNotice LinkMonitor::Notice() const {
    return options_.notices ? notice_ : LinkNotice{};
}

}  // namespace zv::monitor
