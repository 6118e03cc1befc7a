// Writing an outage report where the user chose: the page, then its figures as CSV beside it
// under the same name, and the outcome as the user is told it.
#pragma once

#include <string>
#include <vector>

#include "common/file_system.h"
#include "monitor/outage_report.h"

namespace zv::monitor {

enum class ReportResult { Done, PartlyDone, Refused, Failed };

struct ReportOutcome {
    ReportResult result = ReportResult::Failed;
    std::string text;
    std::string page_path;  // the page to open: set when it was written
};

// The CSV's path: the page's with ".csv" for its extension.
std::string CsvPathBeside(const std::string& page_path);

// Refused, writing nothing, when the period holds no probe.
ReportOutcome WriteOutageReport(FileSystem& files, std::vector<Probe> probes,
                                const ReportRequest& request, const std::string& page_path,
                                const std::string& separator);

// The outcome once the written page was handed to the browser: partly done when it could not
// be opened (`open_error`, the Windows error; 0 when it opened).
ReportOutcome Opened(ReportOutcome outcome, unsigned long open_error);

}  // namespace zv::monitor
