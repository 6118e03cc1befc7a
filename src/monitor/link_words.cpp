#include "monitor/link_words.h"

#include "monitor/clock_texts.h"

namespace zv::monitor {

std::string MsText(int32_t ms) {
    return std::to_string(ms) + " ms";
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

std::string LinkStateText(const ProbeHistory& history, const Probe& latest, const Moment& now) {
    std::optional<ProbeHistory::Outage> outage = history.DownSince();
    if (!outage) {
        if (latest.via_tcp) {
            // What a connect through a stand-in on the way would look like.
            const char* proxy = latest.may_be_proxy ? " (may be a proxy)" : "";
            return std::string("reachable by TCP only") + proxy + ", connect " +
                   MsText(latest.round_trip_ms);
        }
        return std::string(latest.name_failed ? "name lookup failed (link up), " : "connected, ") +
               MsText(latest.round_trip_ms);
    }
    // The record keeps a day: an older start is not known, and the oldest probe kept
    // would give a time that moves forward with every probe.
    if (outage->began_before_record || now.tick_ms - outage->first.tick_ms > 24 * kHourMs) {
        return "not connected for more than 24 hours";
    }
    return "not connected since " + SinceText(outage->first.time, now.wall);
}

}  // namespace zv::monitor
