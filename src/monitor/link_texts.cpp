#include "monitor/link_texts.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/program_name.h"

namespace zv::monitor {
namespace {

struct CivilTime {
    int year, month, day, hour, minute, second;
};

// The proleptic Gregorian calendar from a count of days since 1970-01-01.
CivilTime ToCivil(const WallTime& time) {
    int64_t local_s = time.utc_ms / 1000 + int64_t{time.offset_min} * 60;
    int64_t days = local_s / 86400;
    int64_t seconds = local_s % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t day_of_era = days - era * 146097;
    int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    int64_t mp = (5 * day_of_year + 2) / 153;
    int day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
    int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int year = static_cast<int>(year_of_era + era * 400 + (month <= 2));
    return {year,
            month,
            day,
            static_cast<int>(seconds / 3600),
            static_cast<int>(seconds / 60 % 60),
            static_cast<int>(seconds % 60)};
}

std::string Format(const char* format, int a, int b, int c) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string DateText(const CivilTime& t) {
    return Format("%04d-%02d-%02d", t.year, t.month, t.day);
}

std::string ClockText(const CivilTime& t) {
    return Format("%02d:%02d", t.hour, t.minute, 0);
}

std::string TimeOfDayText(const CivilTime& t) {
    return Format("%02d:%02d:%02d", t.hour, t.minute, t.second);
}

std::string OffsetText(int offset_min) {
    int offset = std::abs(offset_min);
    return (offset_min < 0 ? "-" : "+") + Format("%02d:%02d", offset / 60, offset % 60, 0);
}

}  // namespace

std::string IsoTime(const WallTime& time) {
    CivilTime t = ToCivil(time);
    return DateText(t) + "T" + TimeOfDayText(t) + OffsetText(time.offset_min);
}

std::string DurationText(int64_t ms) {
    int64_t seconds = (ms + 500) / 1000;
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    int64_t minutes = (seconds + 30) / 60;
    if (minutes < 60) {
        return std::to_string(minutes) + " min";
    }
    std::string text = std::to_string(minutes / 60) + " h";
    return minutes % 60 == 0 ? text : text + " " + std::to_string(minutes % 60) + " min";
}

std::string LossPercentText(int lost, int probes) {
    if (probes <= 0) {
        return "0";
    }
    int percent = (lost * 100 + probes / 2) / probes;
    if (percent == 0 && lost > 0) {
        return "<1";
    }
    return percent == 100 && lost < probes ? ">99" : std::to_string(percent);
}

const char* WhereText(Where where) {
    static const char* const kTexts[kPlaces] = {"", "your network", "your provider",
                                                "beyond your provider"};
    return kTexts[static_cast<int>(where)];
}

std::string WhereMark(Where where) {
    return where == Where::Unknown ? "" : std::string(" (") + WhereText(where) + ")";
}

RecentFigures Recent(const ProbeHistory& history, int64_t at_ms) {
    return {Summarize(history, at_ms - kRecentSpanMs, at_ms),
            Summarize(history, at_ms - kHourMs, at_ms)};
}

std::string RecentLossText(const RecentFigures& recent) {
    return "loss " + LossPercentText(recent.ten_minutes.lost, recent.ten_minutes.probes) +
           "% (10 min) " + LossPercentText(recent.hour.lost, recent.hour.probes) + "% (1 h)";
}

namespace {

std::string Ms(int32_t ms) {
    return std::to_string(ms) + " ms";
}

// What a connect through a stand-in on the way would look like.
const char* ProxyMark(const Probe& probe) {
    return probe.may_be_proxy ? " (may be a proxy)" : "";
}

// "23 ms", "30 ms (TCP only)", "23 ms (name lookup failed)".
std::string RoundTripText(const Probe& probe) {
    if (probe.via_tcp) {
        return Ms(probe.round_trip_ms) +
               (probe.may_be_proxy ? " (TCP only, may be a proxy)" : " (TCP only)");
    }
    return Ms(probe.round_trip_ms) + (probe.name_failed ? " (name lookup failed)" : "");
}

// The link's state now: "connected, 23 ms", "reachable by TCP only, connect 30 ms", "name
// lookup failed (link up), 23 ms" or "not connected since 14:05".
std::string StateText(const ProbeHistory& history, const Probe& latest, const Moment& now) {
    std::optional<ProbeHistory::Outage> outage = history.DownSince();
    if (!outage) {
        if (latest.via_tcp) {
            return std::string("reachable by TCP only") + ProxyMark(latest) + ", connect " +
                   Ms(latest.round_trip_ms);
        }
        return std::string(latest.name_failed ? "name lookup failed (link up), " : "connected, ") +
               Ms(latest.round_trip_ms);
    }
    // The record keeps a day: an older start is not known, and the oldest probe kept
    // would give a time that moves forward with every probe.
    if (outage->began_before_record || now.tick_ms - outage->first.tick_ms > 24 * kHourMs) {
        return "not connected for more than 24 hours";
    }
    CivilTime down = ToCivil(outage->first.time);
    std::string when = ClockText(down);
    if (DateText(down) != DateText(ToCivil(now.wall))) {
        when = DateText(down) + " " + when;
    }
    return "not connected since " + when;
}

}  // namespace

std::string TrayTipText(const ProbeHistory& history, const Moment& now, std::size_t limit) {
    std::string tip = kProgramName;
    std::optional<Probe> latest = history.Latest();
    if (!latest) {
        return tip;
    }
    tip += " - " + StateText(history, *latest, now);
    std::vector<std::string> parts{WhereMark(latest->where)};
    if (!latest->lost()) {
        RecentFigures recent = Recent(history, now.tick_ms);
        parts = {", " + RecentLossText(recent),
                 recent.hour.jitter_ms ? ", jitter " + Ms(*recent.hour.jitter_ms) : "",
                 recent.hour.p95_ms ? ", 95th percentile " + Ms(*recent.hour.p95_ms) : ""};
    }
    // As much as the shell's tip holds, most telling first.
    for (const std::string& part : parts) {
        if (tip.size() + part.size() <= limit) {
            tip += part;
        }
    }
    return tip;
}

std::string ProbeSilentTipText(const WallTime& since, const WallTime& now) {
    CivilTime sent = ToCivil(since);
    std::string when = ClockText(sent);
    if (DateText(sent) != DateText(ToCivil(now))) {
        when = DateText(sent) + " " + when;
    }
    return std::string(kProgramName) + " - no answer from the probe since " + when;
}

std::string NowLine(const ProbeHistory& history, const Moment& now) {
    std::optional<Probe> latest = history.Latest();
    if (!latest) {
        return "Now: no probe yet";
    }
    return "Now: " + StateText(history, *latest, now) + WhereMark(latest->where);
}

std::string RecentLossLine(const RecentFigures& recent) {
    return "Loss in the last 10 minutes: " +
           LossPercentText(recent.ten_minutes.lost, recent.ten_minutes.probes) +
           "%, last hour: " + LossPercentText(recent.hour.lost, recent.hour.probes) + "%";
}

std::string WhereLine(const HistoryFigures& figures) {
    std::string line = "Outages:";
    for (int place = 1; place < kPlaces; ++place) {
        line += std::string(place > 1 ? "," : "") + " " + WhereText(static_cast<Where>(place)) +
                " " + std::to_string(figures.outages[place]);
    }
    return line;
}

// "; TCP only: 3 probes, median connect 30 ms"; empty without such probes.
std::string TcpText(const HistoryFigures& figures) {
    if (figures.tcp_only == 0) {
        return "";
    }
    return "; TCP only: " + std::to_string(figures.tcp_only) +
           (figures.tcp_only == 1 ? " probe" : " probes") + ", median connect " +
           Ms(figures.tcp_median_ms.value_or(0));
}

std::string RoundTripLine(const HistoryFigures& figures) {
    if (!figures.min_ms) {
        return "Round trip: no replies" + TcpText(figures);
    }
    std::string line = "Round trip: min " + Ms(*figures.min_ms) + ", average " +
                       Ms(figures.average_ms) + ", max " + Ms(*figures.max_ms);
    if (figures.jitter_ms) {
        line += ", jitter " + Ms(*figures.jitter_ms);
    }
    if (figures.p95_ms) {
        line += ", 95th percentile " + Ms(*figures.p95_ms);
    }
    return line + TcpText(figures);
}

std::string LossLine(const HistoryFigures& figures) {
    return "Loss: " + LossPercentText(figures.lost, figures.probes) + "% (" +
           std::to_string(figures.lost) +
           (figures.lost == 1 ? " lost probe of " : " lost probes of ") +
           std::to_string(figures.probes) + "), drops: " + std::to_string(figures.drops) +
           ", longest outage: " +
           (figures.longest_outage_ms > 0 ? DurationText(figures.longest_outage_ms) : "none");
}

std::string FiguresText(const RecentFigures& recent) {
    std::string text = "; " + RecentLossText(recent);
    if (recent.hour.jitter_ms) {
        text += "; jitter " + Ms(*recent.hour.jitter_ms);
    }
    if (recent.hour.p95_ms) {
        text += "; 95th percentile " + Ms(*recent.hour.p95_ms);
    }
    return text;
}

std::string LogLine(const Probe& probe, const std::string& host, const RecentFigures& recent) {
    return IsoTime(probe.time) + " " + host + " " +
           (probe.lost() ? "lost" + WhereMark(probe.where) : RoundTripText(probe)) +
           FiguresText(recent) + "\r\n";
}

}  // namespace zv::monitor
