#include "monitor/outage_report_html.h"

#include <initializer_list>
#include <utility>

#include "monitor/link_words.h"
#include "monitor/vigilo_view.h"

namespace zv::monitor {
namespace {

constexpr char kReplacement[] = "&#xFFFD;";

// The length of the UTF-8 sequence at `at` and its code point; 0 when it is none (cut
// short, too long a form, a surrogate, beyond U+10FFFF).
std::size_t Utf8Sequence(std::string_view text, std::size_t at, uint32_t& code) {
    auto byte = [&](std::size_t i) { return static_cast<uint8_t>(text[i]); };
    uint8_t lead = byte(at);
    std::size_t length = lead < 0x80       ? 1
                         : lead >> 5 == 6  ? 2
                         : lead >> 4 == 14 ? 3
                         : lead >> 3 == 30 ? 4
                                           : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    static const uint8_t kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    code = lead & kLeadBits[length];
    for (std::size_t i = 1; i < length; ++i) {
        if (byte(at + i) >> 6 != 2) {
            return 0;
        }
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    static const uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    bool valid = code >= kLeast[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    return valid ? length : 0;
}

bool IsControl(uint32_t code) {
    return (code < 0x20 && code != '\t' && code != '\n') || (code >= 0x7F && code <= 0x9F);
}

// The page as it is written: markup and escaped text appended in place.
class Page {
  public:
    Page& operator<<(const char* markup) {
        out_ += markup;
        return *this;
    }
    // Text, escaped.
    Page& Text(std::string_view text) {
        out_ += HtmlText(text);
        return *this;
    }
    Page& Heading(const char* text) { return *this << "<h2>" << text << "</h2>\n"; }
    // A row of escaped texts, each in a cell of `tag`; with `headed`, the first in a heading
    // cell.
    Page& Row(std::initializer_list<std::string_view> cells, const char* tag = "td",
              bool headed = false) {
        *this << "<tr>";
        for (std::string_view cell : cells) {
            const char* cell_tag = headed ? "th" : tag;
            headed = false;
            *this << "<" << cell_tag << ">";
            Text(cell) << "</" << cell_tag << ">";
        }
        return *this << "</tr>\n";
    }
    // A row of a figure's name and its text.
    Page& Figure(const char* name, std::string_view text) { return Row({name, text}, "td", true); }
    std::string& out() { return out_; }

  private:
    std::string out_;
};

// A local time; with its own offset when the clock was in another one than the report's
// (a change to summer time within the period).
std::string TimeText(const WallTime& time, int report_offset_min) {
    std::string text = LocalTimeText(time);
    return time.offset_min == report_offset_min
               ? text
               : text + " (UTC" + OffsetText(time.offset_min) + ")";
}

std::string OptionalMsText(const std::optional<int32_t>& ms) {
    return ms ? MsText(*ms) : "-";
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : ", ") + text;
    }
    return joined;
}

std::string OrNotKnown(const std::string& text) {
    return text.empty() ? "not known" : text;
}

const char kStyle[] =
    "body{font:10pt/1.35 Segoe UI,Tahoma,Arial,sans-serif;color:#222;margin:2em;max-width:60em}"
    "h1{font-size:16pt;margin:0 0 .2em}h2{font-size:12pt;margin:1.4em 0 .4em;"
    "border-bottom:1px solid #999;page-break-after:avoid}"
    "p.made{color:#555;margin:0 0 1em}table{border-collapse:collapse;margin:.3em 0}"
    "th,td{text-align:left;padding:.15em .8em .15em 0;vertical-align:top}"
    "table.list th{border-bottom:1px solid #999}table.list td{border-bottom:1px solid #ddd}"
    "td.n,th.n{text-align:right}tr{page-break-inside:avoid}p.note{color:#555;font-size:9pt}"
    "@page{margin:15mm}@media print{body{margin:0}}";

std::string Title(const OutageReport& report) {
    return "Internet outage report, " + DayText(report.request.first_day) + " to " +
           DayText(report.request.last_day);
}

void AddConnection(const OutageReport& report, Page& page) {
    const ReportRequest& request = report.request;
    const ConnectionFacts& connection = request.connection;
    std::string method = "an echo request (ping) every " + std::to_string(kProbeIntervalMs / 1000) +
                         " s; when it goes unanswered, a TCP connection to port 443, then 80";
    std::string zone = connection.zone_name.empty() ? "" : connection.zone_name + ", ";
    page.Heading("The connection") << "<table>\n";
    page.Figure("Adapter", OrNotKnown(connection.adapter))
        .Figure("Gateway", OrNotKnown(connection.gateway))
        .Figure("Probe host", Joined(report.hosts))
        .Figure("Probe method", method)
        .Figure("Times", "local time, " + zone + "UTC" + OffsetText(request.made.wall.offset_min));
    page << "</table>\n";
}

void AddSummary(const OutageReport& report, Page& page) {
    int offset = report.request.made.wall.offset_min;
    int64_t unwatched = report.period_ms - report.monitored_ms;
    std::string monitored = ExactDurationText(report.monitored_ms);
    if (unwatched > 0) {
        monitored += "; not monitored: " + ExactDurationText(unwatched) + " (listed below)";
    }
    std::string probes = std::to_string(report.probes) + " sent, " + std::to_string(report.lost) +
                         " echoes unanswered (" + LossPercentText(report.lost, report.probes) +
                         "%)";
    if (report.tcp_only > 0) {
        probes += "; " + std::to_string(report.tcp_only) + " reached the host by TCP only";
    }
    page.Heading("Summary") << "<table>\n";
    page.Figure("Period", TimeText(report.begin, offset) + " to " + TimeText(report.end, offset))
        .Figure("Availability", AvailabilityText(report) + " of the monitored time")
        .Figure("Outages", std::to_string(report.outages.size()) + ", down " +
                               ExactDurationText(report.down_ms) + " in all")
        .Figure("Monitored", monitored)
        .Figure("Probes", probes);
    page << "</table>\n<table class=\"list\">\n";
    page.Row({"Where the outage lay", "Outages", "Time down"}, "th");
    for (int place = 1; place <= kPlaces; ++place) {
        int index = place % kPlaces;  // unknown last, and only when there is one
        if (index > 0 || report.outages_by_place[0] > 0) {
            page.Row({ReportPlaceText(static_cast<Where>(index)),
                      std::to_string(report.outages_by_place[index]),
                      ExactDurationText(report.down_ms_by_place[index])});
        }
    }
    page << "</table>\n";
}

void AddOutages(const OutageReport& report, Page& page) {
    int offset = report.request.made.wall.offset_min;
    page.Heading("Outages");
    if (report.outages.empty()) {
        page << "<p>None: every probe of the period was answered, or lost alone between "
                "answers.</p>\n";
        return;
    }
    page << "<table class=\"list\">\n";
    page.Row({"Start", "End", "Duration", "Where", "Probes lost"}, "th");
    bool open_end = false;
    for (const ReportOutage& outage : report.outages) {
        open_end = open_end || outage.open_end;
        page.Row({TimeText(outage.start, offset),
                  TimeText(outage.end, offset) + (outage.open_end ? " *" : ""),
                  ExactDurationText(outage.duration_ms), ReportPlaceText(outage.where),
                  std::to_string(outage.probes_lost)});
    }
    page << "</table>\n";
    if (open_end) {
        page << "<p class=\"note\">* No probe was answered before Vigilo stopped watching or "
                "the period ended: the outage may have lasted longer.</p>\n";
    }
}

void AddGaps(const OutageReport& report, Page& page) {
    int offset = report.request.made.wall.offset_min;
    page.Heading("Not monitored");
    if (report.gaps.empty()) {
        page << "<p>None: Vigilo watched the whole period.</p>\n";
        return;
    }
    page << "<table class=\"list\">\n";
    page.Row({"From", "To", "Duration"}, "th");
    for (const ReportGap& gap : report.gaps) {
        page.Row({TimeText(gap.start, offset), TimeText(gap.end, offset),
                  ExactDurationText(gap.duration_ms)});
    }
    page << "</table>\n";
}

void AddDays(const OutageReport& report, Page& page) {
    page.Heading("Day by day") << "<table class=\"list\">\n";
    page.Row({"Day", "Probes", "Loss", "Median round trip", "95th percentile", "Outages begun"},
             "th");
    for (const ReportDay& day : report.days) {
        if (day.probes == 0) {
            page.Row({DayText(day.day), "not monitored", "", "", "", ""});
        } else {
            page.Row({DayText(day.day), std::to_string(day.probes),
                      LossPercentText(day.lost, day.probes) + "%", OptionalMsText(day.median_ms),
                      OptionalMsText(day.p95_ms), std::to_string(day.outages)});
        }
    }
    page << "</table>\n";
}

void AddMethod(const OutageReport& report, Page& page) {
    page.Heading("How these figures were measured") << "<p>Vigilo, running on this computer, "
                                                       "sent a probe every ";
    page.Text(std::to_string(kProbeIntervalMs / 1000) + " seconds to " + Joined(report.hosts));
    page << ": an echo request (a ping), answered in time when its reply came within ";
    page.Text(std::to_string(kProbeTimeoutMs / 1000));
    page << " seconds. When the echo went unanswered it tried a TCP connection to the host&#39;s "
            "port 443, then 80: a host reached that way counts as reachable, its echo as lost. "
            "An outage begins with the first probe that reached the host in neither way, once a "
            "second probe a few seconds later confirmed it, and ends with the first probe "
            "answered again; a lone lost probe between answers counts in the loss, not as an "
            "outage. For every lost probe Vigilo looked for where the trouble lay: with the "
            "gateway (the router of this network) silent, in your network; with the gateway "
            "answering but the first router beyond it, the provider&#39;s, silent, at your "
            "provider; with both answering, beyond your provider. The round trips are those of "
            "answered echoes; the loss counts every unanswered echo. While Vigilo did not run or "
            "the computer slept, nothing was monitored: that time counts neither as up nor as "
            "down, and the availability is the share of the monitored time the connection was "
            "up.</p>\n";
}

}  // namespace

std::string HtmlText(std::string_view text) {
    std::string safe;
    safe.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        uint32_t code = 0;
        std::size_t length = Utf8Sequence(text, at, code);
        if (length == 0 || IsControl(code)) {
            safe += kReplacement;
            at += length == 0 ? 1 : length;
            continue;
        }
        switch (code) {
            case '&':
                safe += "&amp;";
                break;
            case '<':
                safe += "&lt;";
                break;
            case '>':
                safe += "&gt;";
                break;
            case '"':
                safe += "&quot;";
                break;
            case '\'':
                safe += "&#39;";
                break;
            default:
                safe.append(text.substr(at, length));
        }
        at += length;
    }
    return safe;
}

std::string OutageReportHtml(const OutageReport& report) {
    const WallTime& made = report.request.made.wall;
    std::string title = Title(report);
    Page page;
    page << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>";
    page.Text(title) << "</title><style>" << kStyle << "</style></head>\n<body>\n<h1>";
    page.Text(title) << "</h1>\n<p class=\"made\">";
    page.Text("Made by Vigilo on " + TimeText(made, made.offset_min) + ".") << "</p>\n";
    AddConnection(report, page);
    AddSummary(report, page);
    AddOutages(report, page);
    AddGaps(report, page);
    AddDays(report, page);
    AddMethod(report, page);
    page << "</body></html>\n";
    return std::move(page.out());
}

}  // namespace zv::monitor
