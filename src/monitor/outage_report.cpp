#include "monitor/outage_report.h"

#include <algorithm>

#include "monitor/link_words.h"
#include "monitor/probe_store.h"

namespace zv::monitor {
namespace {

// The wall clock at a moment of the count, as the latest probe sent by then read it (the
// first probe for a moment before any).
WallTime WallAt(const std::vector<Probe>& probes, int64_t tick_ms) {
    auto after = std::upper_bound(probes.begin(), probes.end(), tick_ms,
                                  [](int64_t tick, const Probe& p) { return tick < p.tick_ms; });
    const Probe& anchor = after == probes.begin() ? probes.front() : *(after - 1);
    return {anchor.time.utc_ms + (tick_ms - anchor.tick_ms), anchor.time.offset_min};
}

ReportOutage OutageOf(const std::vector<Probe>& probes, const LinkPeriod& period) {
    ReportOutage outage;
    outage.start = WallAt(probes, period.begin_ms);
    outage.end = WallAt(probes, period.end_ms);
    outage.duration_ms = period.end_ms - period.begin_ms;
    outage.where = period.where;
    auto first = std::lower_bound(probes.begin(), probes.end(), period.begin_ms,
                                  [](const Probe& p, int64_t tick) { return p.tick_ms < tick; });
    auto after = first;
    for (; after != probes.end() && after->tick_ms < period.end_ms; ++after) {
        outage.probes_lost += after->lost();
    }
    outage.open_end = after == probes.end() || after->tick_ms != period.end_ms || after->lost();
    return outage;
}

void AddGap(const std::vector<Probe>& probes, int64_t from_ms, int64_t to_ms,
            OutageReport& report) {
    report.gaps.push_back({WallAt(probes, from_ms), WallAt(probes, to_ms), to_ms - from_ms});
}

// The periods, and between them what nobody watched. Before the first probe and after the
// last, a probe's hold is no gap: the probe just outside the period stood for the link.
void AddPeriods(const std::vector<Probe>& probes, int64_t begin_ms, int64_t end_ms,
                OutageReport& report) {
    ProbeHistory history(probes.size());
    for (const Probe& probe : probes) {
        history.Add(probe);
    }
    int64_t watched_until = begin_ms;
    for (const LinkPeriod& period : LinkPeriods(history, begin_ms, end_ms)) {
        int64_t unwatched = period.begin_ms - watched_until;
        if (unwatched > (watched_until == begin_ms ? kStateHoldMs : 0)) {
            AddGap(probes, watched_until, period.begin_ms, report);
        }
        watched_until = period.end_ms;
        if (period.up) {
            continue;
        }
        ReportOutage outage = OutageOf(probes, period);
        int place = static_cast<int>(outage.where);
        ++report.outages_by_place[place];
        report.down_ms_by_place[place] += outage.duration_ms;
        report.down_ms += outage.duration_ms;
        report.outages.push_back(outage);
    }
    if (end_ms - watched_until > kStateHoldMs) {
        AddGap(probes, watched_until, end_ms, report);
    }
    int64_t unwatched = 0;
    for (const ReportGap& gap : report.gaps) {
        unwatched += gap.duration_ms;
    }
    report.monitored_ms = report.period_ms - unwatched;
}

void AddTotals(const std::vector<Probe>& probes, OutageReport& report) {
    for (const Probe& probe : probes) {
        ++report.probes;
        report.lost += probe.echo_lost();
        report.tcp_only += probe.via_tcp && !probe.lost();
        if (std::find(report.hosts.begin(), report.hosts.end(), probe.host) == report.hosts.end()) {
            report.hosts.push_back(probe.host);
        }
    }
}

void AddDays(const std::vector<Probe>& probes, OutageReport& report) {
    const ReportRequest& request = report.request;
    DayNumber count =
        std::min<DayNumber>(request.last_day - request.first_day + 1, kMostReportDays);
    std::vector<std::vector<int32_t>> round_trips(static_cast<std::size_t>(count));
    for (DayNumber day = 0; day < count; ++day) {
        ReportDay empty;
        empty.day = request.first_day + day;
        report.days.push_back(empty);
    }
    auto day_of = [&](const WallTime& time) -> ReportDay* {
        DayNumber index = LocalDay(time) - request.first_day;
        return index >= 0 && index < count ? &report.days[static_cast<std::size_t>(index)]
                                           : nullptr;
    };
    for (const Probe& probe : probes) {
        if (ReportDay* day = day_of(probe.time)) {
            ++day->probes;
            day->lost += probe.echo_lost();
            if (!probe.echo_lost()) {
                round_trips[static_cast<std::size_t>(day->day - request.first_day)].push_back(
                    probe.round_trip_ms);
            }
        }
    }
    for (ReportDay& day : report.days) {
        std::vector<int32_t>& times =
            round_trips[static_cast<std::size_t>(day.day - request.first_day)];
        day.median_ms = Median(times);
        day.p95_ms = Percentile95(times);
    }
    for (const ReportOutage& outage : report.outages) {
        if (ReportDay* day = day_of(outage.start)) {
            ++day->outages;
        }
    }
}

// Two digits at least: "05".
std::string Two(int64_t n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

}  // namespace

bool InReportPeriod(const Probe& probe, const ReportRequest& request) {
    DayNumber day = LocalDay(probe.time);
    return !probe.extra && day >= request.first_day && day <= request.last_day;
}

std::optional<OutageReport> BuildOutageReport(std::vector<Probe> period,
                                              const ReportRequest& request) {
    period.erase(
        std::remove_if(period.begin(), period.end(),
                       [&](const Probe& probe) { return !InReportPeriod(probe, request); }),
        period.end());
    if (period.empty()) {
        return std::nullopt;
    }
    const Probe& first = period.front();
    const Probe& last = period.back();
    // The period's ends on the count: local midnights as the first and last probes' clocks
    // read them, the end no later than the report.
    int64_t begin_utc = request.first_day * kDayMs - first.time.offset_min * kMinuteMs;
    int64_t end_utc = std::min((request.last_day + 1) * kDayMs - last.time.offset_min * kMinuteMs,
                               request.made.wall.utc_ms);
    int64_t begin_ms = first.tick_ms - std::max<int64_t>(0, first.time.utc_ms - begin_utc);
    int64_t end_ms = last.tick_ms + std::max<int64_t>(0, end_utc - last.time.utc_ms);

    OutageReport report;
    report.request = request;
    report.begin = WallAt(period, begin_ms);
    report.end = WallAt(period, end_ms);
    report.period_ms = end_ms - begin_ms;
    AddPeriods(period, begin_ms, end_ms, report);
    AddTotals(period, report);
    AddDays(period, report);
    return report;
}

std::string AvailabilityText(const OutageReport& report) {
    if (report.monitored_ms <= 0) {
        return "none monitored";
    }
    if (report.down_ms == 0) {
        return "100%";
    }
    int64_t up = std::max<int64_t>(0, report.monitored_ms - report.down_ms);
    int64_t hundredths = up * 10000 / report.monitored_ms;
    return std::to_string(hundredths / 100) + "." + Two(hundredths % 100) + "%";
}

std::string ExactDurationText(int64_t ms) {
    int64_t s = (ms + 500) / 1000;
    if (s < 60) {
        return std::to_string(s) + " s";
    }
    if (s < 3600) {
        return std::to_string(s / 60) + " min " + Two(s % 60) + " s";
    }
    if (s < 86400) {
        return std::to_string(s / 3600) + " h " + Two(s / 60 % 60) + " min " + Two(s % 60) + " s";
    }
    return std::to_string(s / 86400) + " d " + std::to_string(s / 3600 % 24) + " h " +
           Two(s / 60 % 60) + " min";
}

const char* ReportPlaceText(Where where) {
    return where == Where::Unknown ? "unknown" : WhereText(where);
}

std::string ReportBaseName(DayNumber first_day, DayNumber last_day) {
    return "Outage report " + DayText(first_day) + " to " + DayText(last_day);
}

}  // namespace zv::monitor
