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

namespace {

Probe ProbeOf(const Moment& sent, const ProbeOutcome& outcome, const std::string& host) {
    Probe probe{sent.wall, kLost, sent.tick_ms, false, outcome.where, host};
    if (outcome.round_trip_ms) {
        probe.round_trip_ms = static_cast<int32_t>(
            std::min<uint32_t>(*outcome.round_trip_ms, std::numeric_limits<int32_t>::max()));
        probe.via_tcp = outcome.via_tcp;
        probe.may_be_proxy = outcome.via_tcp && outcome.may_be_proxy;
        probe.name_failed = outcome.name_failed;
        probe.where = Where::Unknown;
    }
    return probe;
}

constexpr int64_t kBloatNoticeQuietMs = kHourMs;
constexpr int64_t kBloatSpanMs = 24 * kHourMs;

}  // namespace

void LinkMonitor::Tell() {
    if (watcher_) {
        watcher_();
    }
}

void LinkMonitor::Record(const Moment& sent, const ProbeOutcome& outcome) {
    unfound_ = outcome.unfound;
    if (unfound_) {
        notice_ = {};
        load_now_ = load_meter_.Take(std::nullopt, options_.busy_kbps);
        Tell();
        return;
    }
    Probe probe = ProbeOf(sent, outcome, Host());
    probe.load = load_now_ = load_meter_.Take(outcome.load, options_.busy_kbps);
    history_.Add(probe);
    spans_.Add(SpanSample::Of(probe));
    if (record_ != nullptr) {
        record_->Keep(probe);
    }
    RecentFigures recent = Recent(history_, probe.tick_ms);
    std::string detail;
    std::optional<bool> slow = probe.lost() ? std::nullopt : Slow(recent.ten_minutes, detail);
    notice_ = notices_.Take(probe, slow, detail);
    if (notice_.text.empty()) {
        notice_ = BloatNotice(probe.tick_ms);
    }
    if (options_.log) {
        ports_.log.Write(LogLine(probe, Host(), recent));
    }
    Tell();
}

// An extra probe of a host not found yet sends nothing, and records nothing.
void LinkMonitor::RecordExtra(const Moment& sent, const ProbeOutcome& outcome) {
    notice_ = {};
    if (outcome.unfound) {
        return;
    }
    Probe probe = ProbeOf(sent, outcome, Host());
    probe.load = load_now_ = load_meter_.Take(outcome.load, options_.busy_kbps);
    probe.extra = true;
    extras_.Add(probe);
    if (record_ != nullptr) {
        record_->Keep(probe);
    }
    if (options_.log) {
        ports_.log.Write(LogLine(probe, Host(), Recent(history_, probe.tick_ms)));
    }
    Tell();
}

BloatFigures LinkMonitor::Bloat(int64_t at_ms) const {
    return JudgeBloat(history_, extras_, at_ms - kBloatSpanMs, at_ms);
}

LinkNotice LinkMonitor::BloatNotice(int64_t at_ms) {
    BloatFigures figures = Bloat(at_ms);
    if (!figures.Ready()) {
        return {};
    }
    Grade grade = figures.grade();
    std::optional<Grade> known = known_grade_;
    bool worse = known ? grade > *known : IsBloat(grade);
    if (!worse) {
        known_grade_ = grade;
        return {};
    }
    if (!options_.bloat_notice ||
        (bloat_told_ms_ && at_ms - *bloat_told_ms_ < kBloatNoticeQuietMs)) {
        return {};
    }
    known_grade_ = grade;
    bloat_told_ms_ = at_ms;
    std::string was = known ? std::string(", was ") + GradeText(*known) : "";
    return {BloatLine(figures) + was, true};
}

void LinkMonitor::Restore(const std::vector<Probe>& probes,
                          const std::vector<SpanSample>& earlier) {
    if (history_.size() == 0) {
        for (const Probe& probe : probes) {
            if (!probe.extra) {
                notices_.Take(probe);
            }
        }
    }
    history_ = JoinedBefore(probes, false, history_, history_.capacity());
    extras_ = JoinedBefore(probes, true, extras_, extras_.capacity());
    std::vector<SpanSample> samples = earlier;
    int64_t after = samples.empty() ? std::numeric_limits<int64_t>::min() : samples.back().tick_ms;
    for (const Probe& probe : probes) {
        if (!probe.extra && probe.tick_ms > after) {
            samples.push_back(SpanSample::Of(probe));
        }
    }
    spans_ = JoinedBefore(samples, spans_);
    Tell();
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
    Moment now = Now();
    return TrayTipText(history_, now, limit, BloatTipPart(Bloat(now.tick_ms)));
}

std::string LinkMonitor::NowText() {
    return unfound_ ? "Now: cannot find " + Host() : NowLine(history_, Now());
}

LinkNotice LinkMonitor::Notice() const {
    return options_.notices ? notice_ : LinkNotice{};
}

}  // namespace zv::monitor
