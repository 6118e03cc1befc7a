#include "monitor/outage_report_csv.h"

#include <initializer_list>

#include "monitor/csv_row.h"
#include "monitor/link_words.h"

namespace zv::monitor {
namespace {

class CsvTable {
  public:
    CsvTable(const std::string& separator, std::string& csv) : separator_(separator), csv_(csv) {}

    void Line(std::initializer_list<std::string> fields) {
        CsvRow row(separator_);
        for (const std::string& field : fields) {
            row << field;
        }
        csv_ += row.End();
    }
    // A title line, then the column names.
    void Begin(const std::string& title, std::initializer_list<std::string> columns) {
        if (!csv_.empty()) {
            csv_ += "\r\n";
        }
        Line({title});
        Line(columns);
    }

  private:
    const std::string& separator_;
    std::string& csv_;
};

std::string Seconds(int64_t ms) {
    return std::to_string((ms + 500) / 1000);
}

std::string OptionalMs(const std::optional<int32_t>& ms) {
    return ms ? std::to_string(*ms) : "";
}

std::string Offset(const WallTime& time) {
    return OffsetText(time.offset_min);
}

void AddSummary(const OutageReport& report, CsvTable& table) {
    const ConnectionFacts& connection = report.request.connection;
    table.Begin("Summary", {"Figure", "Value"});
    std::string hosts;
    for (const std::string& host : report.hosts) {
        hosts += (hosts.empty() ? "" : " ") + host;
    }
    table.Line({"Period start", LocalTimeText(report.begin) + " " + Offset(report.begin)});
    table.Line({"Period end", LocalTimeText(report.end) + " " + Offset(report.end)});
    table.Line({"Adapter", connection.adapter});
    table.Line({"Gateway", connection.gateway});
    table.Line({"Probe host", hosts});
    table.Line({"Time zone", connection.zone_name});
    std::string availability = AvailabilityText(report);
    table.Line({"Availability (%)", availability.substr(0, availability.find('%'))});
    table.Line({"Outages", std::to_string(report.outages.size())});
    table.Line({"Time down (s)", Seconds(report.down_ms)});
    for (int place = 0; place < kPlaces; ++place) {
        table.Line({std::string("Outages: ") + ReportPlaceText(static_cast<Where>(place)),
                    std::to_string(report.outages_by_place[place])});
        table.Line({std::string("Time down (s): ") + ReportPlaceText(static_cast<Where>(place)),
                    Seconds(report.down_ms_by_place[place])});
    }
    table.Line({"Monitored (s)", Seconds(report.monitored_ms)});
    table.Line({"Not monitored (s)", Seconds(report.period_ms - report.monitored_ms)});
    table.Line({"Probes", std::to_string(report.probes)});
    table.Line({"Echoes unanswered", std::to_string(report.lost)});
    table.Line({"Reached by TCP only", std::to_string(report.tcp_only)});
}

void AddOutages(const OutageReport& report, CsvTable& table) {
    table.Begin("Outages", {"Start", "Start UTC offset", "End", "End UTC offset", "Duration (s)",
                            "Where", "Probes lost", "End seen"});
    for (const ReportOutage& outage : report.outages) {
        table.Line({LocalTimeText(outage.start), Offset(outage.start), LocalTimeText(outage.end),
                    Offset(outage.end), Seconds(outage.duration_ms), ReportPlaceText(outage.where),
                    std::to_string(outage.probes_lost), outage.open_end ? "no" : "yes"});
    }
}

void AddGaps(const OutageReport& report, CsvTable& table) {
    table.Begin("Not monitored",
                {"From", "From UTC offset", "To", "To UTC offset", "Duration (s)"});
    for (const ReportGap& gap : report.gaps) {
        table.Line({LocalTimeText(gap.start), Offset(gap.start), LocalTimeText(gap.end),
                    Offset(gap.end), Seconds(gap.duration_ms)});
    }
}

void AddDays(const OutageReport& report, CsvTable& table) {
    table.Begin("Days", {"Day", "Probes", "Echoes unanswered", "Loss (%)", "Median (ms)",
                         "95th percentile (ms)", "Outages begun"});
    for (const ReportDay& day : report.days) {
        int loss = day.probes > 0 ? (day.lost * 100 + day.probes / 2) / day.probes : 0;
        table.Line({DayText(day.day), std::to_string(day.probes), std::to_string(day.lost),
                    day.probes > 0 ? std::to_string(loss) : "", OptionalMs(day.median_ms),
                    OptionalMs(day.p95_ms), std::to_string(day.outages)});
    }
}

}  // namespace

std::string OutageReportCsv(const OutageReport& report, const std::string& separator) {
    std::string csv;
    CsvTable table(separator, csv);
    AddSummary(report, table);
    AddOutages(report, table);
    AddGaps(report, table);
    AddDays(report, table);
    return csv;
}

}  // namespace zv::monitor
