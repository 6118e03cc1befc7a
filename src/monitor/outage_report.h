// The outage report a user hands to the provider: over whole local days, from the lasting
// record's probes, the availability, every outage with where it lay, the time the companion
// did not watch, and per day the loss and the round trips' median and 95th percentile. The
// outages are the history window's (see LinkPeriods); the time the companion did not run
// (shut down, asleep) is not monitored, which counts neither as up nor as down.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "monitor/clock_texts.h"
#include "monitor/probe_history.h"

namespace zv::monitor {

// What the report tells of the computer's connection as it was when it was made; each
// empty where Windows did not say.
struct ConnectionFacts {
    std::string adapter;  // the adapter of the default route, with its address
    std::string gateway;
    std::string zone_name;  // Windows' name of the local time zone
};

// The longest period a report covers.
inline constexpr int kMostReportDays = 366;

struct ReportRequest {
    DayNumber first_day = 0;  // local days, both in the report
    DayNumber last_day = 0;
    Moment made;
    ConnectionFacts connection;
};

struct ReportOutage {
    WallTime start;  // the first probe lost
    WallTime end;    // the first answer after it, or where watching ended
    int64_t duration_ms = 0;
    // No answer ended it in the report: the companion stopped, or the period ended, first.
    bool open_end = false;
    Where where = Where::Unknown;
    int probes_lost = 0;
};

// A time the companion did not watch the link.
struct ReportGap {
    WallTime start;
    WallTime end;
    int64_t duration_ms = 0;
};

struct ReportDay {
    DayNumber day = 0;
    int probes = 0;
    int lost = 0;  // echoes unanswered
    std::optional<int32_t> median_ms;
    std::optional<int32_t> p95_ms;
    int outages = 0;  // begun that day
};

struct OutageReport {
    ReportRequest request;
    WallTime begin;  // the period, as far as it has come when the report is made
    WallTime end;
    int64_t period_ms = 0;
    int64_t monitored_ms = 0;
    int64_t down_ms = 0;
    int probes = 0;
    int lost = 0;                    // echoes unanswered
    int tcp_only = 0;                // probes that reached the host by TCP alone
    std::vector<std::string> hosts;  // in the order first probed
    std::array<int, kPlaces> outages_by_place{};
    std::array<int64_t, kPlaces> down_ms_by_place{};
    std::vector<ReportOutage> outages;
    std::vector<ReportGap> gaps;
    std::vector<ReportDay> days;  // each day of the period, probed or not
};

// Whether a probe counts in the report: a regular probe sent on one of its local days.
bool InReportPeriod(const Probe& probe, const ReportRequest& request);

// The report over the record's probes (oldest first, on one forward-only count), of which
// it keeps those of the period; nothing when none of the period's days holds a regular
// probe. The caller hands them over: a month of probes is megabytes.
std::optional<OutageReport> BuildOutageReport(std::vector<Probe> probes,
                                              const ReportRequest& request);

// The share of the monitored time the link was up, as "99.95%": two decimals, never
// rounded up to 100 while any time was down; "none monitored" without monitored time.
std::string AvailabilityText(const OutageReport& report);

// A length of time to the second: "45 s", "3 min 05 s", "2 h 05 min 00 s", "1 d 2 h 05 min".
std::string ExactDurationText(int64_t ms);

// Where an outage lay: "your network", "your provider", "beyond your provider" or
// "unknown" (nothing could be tried).
const char* ReportPlaceText(Where where);

// A report's name without its extension: "Outage report 2026-12-01 to 2026-12-08".
std::string ReportBaseName(DayNumber first_day, DayNumber last_day);

}  // namespace zv::monitor
