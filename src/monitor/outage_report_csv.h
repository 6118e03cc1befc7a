// The outage report's figures as CSV, beside its page: the summary, the outages, the time
// not monitored and the days, each a table under a line naming it, apart by an empty line.
// Times are local, their offset from UTC in a column of its own; lengths of time are whole
// seconds and the loss a whole percent, so that a spreadsheet reads them as numbers.
#pragma once

#include <string>

#include "monitor/outage_report.h"

namespace zv::monitor {

// Fields apart by `separator`, the list separator of the user's locale.
std::string OutageReportCsv(const OutageReport& report, const std::string& separator);

}  // namespace zv::monitor
