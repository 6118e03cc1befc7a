// "Save History As...": the span the graph shows, or the whole record, as CSV. The day the
// companion holds whole is copied into the job on the window's thread; what lies before it
// is read from the lasting record with the file written, away from the window.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "monitor/probe_history.h"

namespace zv::monitor {

// From the oldest probe kept, on the forward-only count.
inline constexpr int64_t kWholeRecord = std::numeric_limits<int64_t>::min() / 4;

struct HistoryExport {
    std::string path;
    std::string separator;
    int64_t from_ms = kWholeRecord;
    int64_t to_ms = 0;
    ProbeHistory regular;  // the day held whole, as the monitor had it
    ProbeHistory extras{kExtraCapacity};
    // The stretch of the lasting record to read for it: from a day before the span (the
    // figures of a row look back up to a day) to just before the older of the rings held whole;
    // nothing (from > to) when that day reaches back before the span.
    int64_t ReadFrom() const;
    int64_t ReadTo() const;
};

// The CSV of the export: `stored` holds the record's probes of [ReadFrom(), ReadTo()],
// regular and extra, oldest first.
std::string ExportCsv(const HistoryExport& job, const std::vector<Probe>& stored);

}  // namespace zv::monitor
