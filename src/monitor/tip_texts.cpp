#include "monitor/tip_texts.h"

#include <vector>

#include "common/program_name.h"
#include "monitor/clock_texts.h"
#include "monitor/link_words.h"

namespace zv::monitor {

std::string TrayTipText(const ProbeHistory& history, const Moment& now, std::size_t limit,
                        const std::string& bloat_part) {
    std::string tip = kProgramName;
    std::optional<Probe> latest = history.Latest();
    if (!latest) {
        return tip;
    }
    tip += " - " + LinkStateText(history, *latest, now);
    std::vector<std::string> parts{WhereMark(latest->where)};
    if (!latest->lost()) {
        RecentFigures recent = Recent(history, now.tick_ms);
        parts = {", " + RecentLossText(recent),
                 recent.hour.jitter_ms ? ", jitter " + MsText(*recent.hour.jitter_ms) : "",
                 recent.hour.p95_ms ? ", 95th percentile " + MsText(*recent.hour.p95_ms) : "",
                 bloat_part};
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
    return std::string(kProgramName) + " - no answer from the probe since " + SinceText(since, now);
}

}  // namespace zv::monitor
