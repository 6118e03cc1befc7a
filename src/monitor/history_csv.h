// The history window's export: the probes of a span as CSV, oldest probe first, built in one
// pass over the record.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "monitor/probe_history.h"

namespace zv::monitor {

// A header, then one row per probe with the host it went to and the recent figures as they
// stood then, its fields apart by the list separator of the user's locale (";" where the
// comma is the decimal mark). A field holding the separator, a quote or a line end is
// quoted as spreadsheets expect. Numeric columns hold plain numbers: a loss is a whole
// percent. The local time and its offset from UTC stand in columns of their own, so that
// spreadsheets read the time as one. The extra probes sent while the link was busy stand
// among the regular ones in the order sent, marked in a column of their own; the columns of
// the load and of the latency when busy follow the older ones, so that what reads those
// still finds them where they were. Rows are written for the probes sent in [from_ms, to_ms]
// of the forward-only count; those before still count in the figures of the rows after.
std::string HistoryCsv(const ProbeHistory& history, const ProbeHistory& extras,
                       const std::string& separator,
                       int64_t from_ms = std::numeric_limits<int64_t>::min(),
                       int64_t to_ms = std::numeric_limits<int64_t>::max());

}  // namespace zv::monitor
