#include "monitor/history_lines.h"

#include "monitor/clock_texts.h"

namespace zv::monitor {
namespace {

// "; TCP only: 3 probes, median connect 30 ms"; empty without such probes.
std::string TcpText(const HistoryFigures& figures) {
    if (figures.tcp_only == 0) {
        return "";
    }
    return "; TCP only: " + std::to_string(figures.tcp_only) +
           (figures.tcp_only == 1 ? " probe" : " probes") + ", median connect " +
           MsText(figures.tcp_median_ms.value_or(0));
}

}  // namespace

const std::vector<HistoryLine>& HistoryLines() {
    using namespace history_lines;
    static const std::vector<HistoryLine> kLines = {
        {lblNow, [](const HistoryLineFacts& facts) { return facts.now; }},
        {lblRoundTrip, [](const HistoryLineFacts& facts) { return RoundTripLine(facts.span); }},
        {lblLoss, [](const HistoryLineFacts& facts) { return LossLine(facts.span); }},
        {lblRecent, [](const HistoryLineFacts& facts) { return RecentLossLine(facts.recent); }},
        {lblWhere, [](const HistoryLineFacts& facts) { return WhereLine(facts.span); }},
        {lblLoad, [](const HistoryLineFacts& facts) { return LoadLine(facts.load); }},
        {lblBloat, [](const HistoryLineFacts& facts) { return BloatLine(facts.bloat); }},
        {lblBloatFigures,
         [](const HistoryLineFacts& facts) { return BloatFiguresLine(facts.bloat); }},
        {lblBloatAdvice,
         [](const HistoryLineFacts& facts) { return BloatAdviceLine(facts.bloat); }},
    };
    return kLines;
}

std::string NowLine(const ProbeHistory& history, const Moment& now) {
    std::optional<Probe> latest = history.Latest();
    if (!latest) {
        return "Now: no probe yet";
    }
    return "Now: " + LinkStateText(history, *latest, now) + WhereMark(latest->where);
}

std::string RoundTripLine(const HistoryFigures& figures) {
    if (!figures.min_ms) {
        return "Round trip: no replies" + TcpText(figures);
    }
    std::string line = "Round trip: min " + MsText(*figures.min_ms) + ", average " +
                       MsText(figures.average_ms) + ", max " + MsText(*figures.max_ms);
    if (figures.jitter_ms) {
        line += ", jitter " + MsText(*figures.jitter_ms);
    }
    if (figures.p95_ms) {
        line += ", 95th percentile " + MsText(*figures.p95_ms);
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

}  // namespace zv::monitor
