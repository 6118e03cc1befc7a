#include "monitor/history_export.h"

#include <algorithm>

#include "monitor/history_csv.h"

namespace zv::monitor {
namespace {

constexpr int64_t kLookBackMs = 24 * kHourMs;

}  // namespace

int64_t HistoryExport::ReadFrom() const {
    return from_ms == kWholeRecord ? kWholeRecord : from_ms - kLookBackMs;
}

int64_t HistoryExport::ReadTo() const {
    int64_t held_from = to_ms + 1;
    for (const ProbeHistory* ring : {&regular, &extras}) {
        held_from = ring->size() > 0 ? std::min(held_from, ring->at(0).tick_ms) : held_from;
    }
    return held_from - 1;
}

std::string ExportCsv(const HistoryExport& job, const std::vector<Probe>& stored) {
    std::size_t capacity = stored.size() + job.regular.size() + job.extras.size() + 1;
    return HistoryCsv(JoinedBefore(stored, false, job.regular, capacity),
                      JoinedBefore(stored, true, job.extras, capacity), job.separator, job.from_ms,
                      job.to_ms);
}

}  // namespace zv::monitor
