#include "monitor/outage_report_writer.h"

#include <utility>

#include "monitor/outage_report_csv.h"
#include "monitor/outage_report_html.h"

namespace zv::monitor {

std::string CsvPathBeside(const std::string& page_path) {
    std::size_t name = page_path.find_last_of("\\/");
    std::size_t dot = page_path.rfind('.');
    bool has_extension = dot != std::string::npos && (name == std::string::npos || dot > name);
    return (has_extension ? page_path.substr(0, dot) : page_path) + ".csv";
}

ReportOutcome WriteOutageReport(FileSystem& files, std::vector<Probe> probes,
                                const ReportRequest& request, const std::string& page_path,
                                const std::string& separator) {
    std::optional<OutageReport> report = BuildOutageReport(std::move(probes), request);
    if (!report) {
        return {ReportResult::Refused,
                "Vigilo has no probes from " + DayText(request.first_day) + " to " +
                    DayText(request.last_day) + ", so no report was written.",
                ""};
    }
    if (!files.WriteFileAtomic(page_path, OutageReportHtml(*report))) {
        return {ReportResult::Failed,
                "The outage report could not be written to " + page_path + ".", ""};
    }
    std::string csv_path = CsvPathBeside(page_path);
    if (!files.WriteFileAtomic(csv_path, OutageReportCsv(*report, separator))) {
        return {ReportResult::PartlyDone,
                "The outage report is in " + page_path +
                    ", but its figures could not be written to " + csv_path + ".",
                page_path};
    }
    return {ReportResult::Done,
            "The outage report is in " + page_path + ", its figures in " + csv_path + ".",
            page_path};
}

ReportOutcome Opened(ReportOutcome outcome, unsigned long open_error) {
    if (open_error != 0) {
        outcome.result = ReportResult::PartlyDone;
        outcome.text += " No program opened it here (Windows error " + std::to_string(open_error) +
                        "): open it from that folder.";
    }
    return outcome;
}

}  // namespace zv::monitor
