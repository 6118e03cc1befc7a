// The outage report: its outages and unwatched time against a plain model of scripted probes,
// its days, the page (escaped, self-contained) and the CSV, the period dialog, and what is
// written and told.
#include "monitor/outage_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/memory_file_system.h"
#include "fakes/recording_ui.h"
#include "monitor/outage_report_csv.h"
#include "monitor/outage_report_html.h"
#include "monitor/outage_report_writer.h"
#include "monitor/probe_store.h"
#include "monitor/report_period_view.h"

namespace zv::monitor {
namespace {

constexpr int kOffsetMin = 60;
constexpr int64_t kSlotMs = 30000;
constexpr int64_t kBreakMs = 10 * kMinuteMs;
const DayNumber kDay = *ParseDay("2026-12-08");

// One character a probe every 30 s from local midnight of kDay: '.' answered, 't' reached
// by TCP alone, 'n' 'p' 'b' lost in your network, at your provider, beyond, 'x' lost with
// the place unknown; ' ' is ten minutes in which the companion did not run.
struct Script {
    std::vector<Probe> probes;
    std::vector<int64_t> at;  // each character's time from midnight, in ms
};

bool IsLost(char c) {
    return c == 'n' || c == 'p' || c == 'b' || c == 'x';
}

Where PlaceOf(char c) {
    return c == 'n'   ? Where::YourNetwork
           : c == 'p' ? Where::YourProvider
           : c == 'b' ? Where::BeyondProvider
                      : Where::Unknown;
}

Probe ProbeAt(int64_t ms_from_midnight, int32_t round_trip_ms) {
    Probe probe;
    probe.time = {kDay * kDayMs - kOffsetMin * kMinuteMs + ms_from_midnight, kOffsetMin};
    probe.tick_ms = 1000000 + ms_from_midnight;
    probe.round_trip_ms = round_trip_ms;
    probe.host = "probe.example";
    return probe;
}

Script Play(const std::string& script) {
    Script played;
    int64_t t = 0;
    for (char c : script) {
        played.at.push_back(t);
        if (c == ' ') {
            t += kBreakMs;
            continue;
        }
        Probe probe = ProbeAt(t, IsLost(c) ? kLost : c == 't' ? 40 : 20);
        probe.via_tcp = c == 't';
        probe.where = PlaceOf(c);
        played.probes.push_back(probe);
        t += kSlotMs;
    }
    return played;
}

ReportRequest RequestMadeAt(int64_t ms_from_midnight) {
    ReportRequest request;
    request.first_day = request.last_day = kDay;
    request.made = {ProbeAt(ms_from_midnight, 0).time, ProbeAt(ms_from_midnight, 0).tick_ms};
    return request;
}

// As a person reads the script: a run of losses is an outage, unless it is one loss right
// after an answer; it ends at the next answer, or a probe's hold after its last loss (no later
// than the report) when none follows at once. A break longer than the hold is not watched.
struct ModelFigures {
    std::vector<std::string> outages;  // "start-end where lost open", times in s from midnight
    std::vector<std::string> gaps;     // "start-end"
};

ModelFigures Model(const std::string& script, int64_t end_ms) {
    Script played = Play(script);
    ModelFigures model;
    auto answered = [&](std::size_t i) { return script[i] == '.' || script[i] == 't'; };
    for (std::size_t s = 0; s < script.size(); ++s) {
        if (script[s] == ' ' && s > 0 && script[s - 1] != ' ') {
            std::size_t next = s;
            while (next < script.size() && script[next] == ' ') {
                ++next;
            }
            int64_t from = played.at[s - 1] + kStateHoldMs;
            int64_t to = next < script.size() ? played.at[next] : end_ms;
            model.gaps.push_back(std::to_string(from / 1000) + "-" + std::to_string(to / 1000));
        }
        if (!IsLost(script[s]) || (s > 0 && IsLost(script[s - 1]))) {
            continue;
        }
        std::size_t e = s;
        Where where = PlaceOf(script[s]);
        while (e + 1 < script.size() && IsLost(script[e + 1])) {
            where = script[++e] == 'x' ? where : PlaceOf(script[e]);
        }
        if (s == e && s > 0 && answered(s - 1)) {
            continue;
        }
        bool closed = e + 1 < script.size() && answered(e + 1);
        int64_t end = closed ? played.at[e + 1] : std::min(played.at[e] + kStateHoldMs, end_ms);
        model.outages.push_back(std::to_string(played.at[s] / 1000) + "-" +
                                std::to_string(end / 1000) + " " + ReportPlaceText(where) + " " +
                                std::to_string(e - s + 1) + (closed ? "" : " open"));
    }
    return model;
}

int64_t SecondsFromMidnight(const WallTime& time) {
    return (time.utc_ms - (kDay * kDayMs - kOffsetMin * kMinuteMs)) / 1000;
}

TEST(OutageReportTest, OutagesAndUnwatchedTimeMatchTheModel) {
    const char* const kScripts[] = {
        ".....",    "..x..", "..xx..", "..nnp..", "..x",       "x..",    "..nn",
        "..bb  ..", "..t..", ".x x.",  "..px..",  ".. pp ..n", "nnnnnn", "..b..p..",
    };
    for (const std::string script : kScripts) {
        SCOPED_TRACE("script \"" + script + "\"");
        Script played = Play(script);
        int64_t end_ms = played.probes.back().tick_ms - 1000000 + 10000;
        std::optional<OutageReport> report =
            BuildOutageReport(played.probes, RequestMadeAt(end_ms));
        ASSERT_TRUE(report.has_value());
        ModelFigures model = Model(script, end_ms);
        std::vector<std::string> outages;
        int64_t down_ms = 0;
        for (const ReportOutage& outage : report->outages) {
            outages.push_back(std::to_string(SecondsFromMidnight(outage.start)) + "-" +
                              std::to_string(SecondsFromMidnight(outage.end)) + " " +
                              ReportPlaceText(outage.where) + " " +
                              std::to_string(outage.probes_lost) +
                              (outage.open_end ? " open" : ""));
            down_ms += outage.duration_ms;
        }
        std::vector<std::string> gaps;
        int64_t unwatched_ms = 0;
        for (const ReportGap& gap : report->gaps) {
            gaps.push_back(std::to_string(SecondsFromMidnight(gap.start)) + "-" +
                           std::to_string(SecondsFromMidnight(gap.end)));
            unwatched_ms += gap.duration_ms;
        }
        EXPECT_EQ(outages, model.outages);
        EXPECT_EQ(gaps, model.gaps);
        EXPECT_EQ(report->down_ms, down_ms);
        EXPECT_EQ(report->period_ms, end_ms);
        EXPECT_EQ(report->monitored_ms, end_ms - unwatched_ms);
        EXPECT_EQ(report->outages_by_place[0] + report->outages_by_place[1] +
                      report->outages_by_place[2] + report->outages_by_place[3],
                  static_cast<int>(outages.size()));
    }
}

// Two days in local time (an hour ahead of UTC), the second half lost, and a day without
// a probe; the time before the first probe of the period is not watched.
TEST(OutageReportTest, DaysHoldTheirLossAndRoundTripsAndTheUnwatchedDaysSaySo) {
    std::vector<Probe> probes;
    for (int32_t ms : {40, 10, 30, 20}) {
        probes.push_back(ProbeAt(23 * kHourMs + static_cast<int64_t>(probes.size()) * kSlotMs, ms));
    }
    probes.push_back(ProbeAt(kDayMs + kHourMs, 5));
    probes.push_back(ProbeAt(kDayMs + kHourMs + kSlotMs, kLost));
    probes.push_back(ProbeAt(kDayMs + kHourMs + 2 * kSlotMs, kLost));
    Probe extra = ProbeAt(kDayMs + kHourMs + kSlotMs / 2, 900);
    extra.extra = true;
    probes.insert(probes.end() - 1, extra);
    ReportRequest request = RequestMadeAt(kDayMs + 2 * kHourMs);
    request.first_day = kDay - 1;
    request.last_day = kDay + 1;
    std::optional<OutageReport> report = BuildOutageReport(probes, request);
    ASSERT_TRUE(report.has_value());
    ASSERT_EQ(report->days.size(), 3u);
    EXPECT_EQ(report->days[0].probes, 0);
    const ReportDay& first = report->days[1];
    EXPECT_EQ(first.probes, 4);
    EXPECT_EQ(first.median_ms, 25);
    EXPECT_EQ(first.p95_ms, 40);
    const ReportDay& second = report->days[2];
    EXPECT_EQ(second.probes, 3);
    EXPECT_EQ(second.lost, 2);
    EXPECT_EQ(second.median_ms, 5);
    EXPECT_EQ(second.outages, 1);
    EXPECT_EQ(report->probes, 7);
    EXPECT_EQ(LocalTimeText(report->begin), "2026-12-07 00:00:00");
    ASSERT_FALSE(report->gaps.empty());
    EXPECT_EQ(LocalTimeText(report->gaps.front().end), "2026-12-08 23:00:00");

    request.first_day = request.last_day = kDay - 1;
    EXPECT_FALSE(BuildOutageReport(probes, request).has_value());
}

TEST(OutageReportTest, TextsOfAvailabilityAndDurations) {
    OutageReport report;
    report.monitored_ms = 1000000;
    report.down_ms = 1;
    EXPECT_EQ(AvailabilityText(report), "99.99%");
    report.down_ms = 12345;
    EXPECT_EQ(AvailabilityText(report), "98.76%");
    report.down_ms = 0;
    EXPECT_EQ(AvailabilityText(report), "100%");
    report.monitored_ms = 0;
    EXPECT_EQ(AvailabilityText(report), "none monitored");
    const std::pair<int64_t, const char*> kDurations[] = {
        {44600, "45 s"},
        {185000, "3 min 05 s"},
        {2 * kHourMs + 5 * kMinuteMs, "2 h 05 min 00 s"},
        {kDayMs + 2 * kHourMs + 5 * kMinuteMs + 9000, "1 d 2 h 05 min"},
    };
    for (const auto& [ms, text] : kDurations) {
        EXPECT_EQ(ExactDurationText(ms), text) << ms;
    }
    EXPECT_EQ(ReportBaseName(kDay - 7, kDay), "Outage report 2026-12-01 to 2026-12-08");
}

TEST(OutageReportTest, HtmlTextEscapesMarkupAndReplacesWhatIsNoText) {
    const std::pair<std::string, std::string> kCases[] = {
        {"a<b>&\"c'", "a&lt;b&gt;&amp;&quot;c&#39;"},
        {"caf\xC3\xA9 \xE2\x84\xA6", "caf\xC3\xA9 \xE2\x84\xA6"},
        {"bell\x07 del\x7F", "bell&#xFFFD; del&#xFFFD;"},
        {"cut \xC3", "cut &#xFFFD;"},
        {"latin1 \xE9t\xE9", "latin1 &#xFFFD;t&#xFFFD;"},
        {"overlong \xC0\xBC", "overlong &#xFFFD;&#xFFFD;"},
        {"surrogate \xED\xA0\x80", "surrogate &#xFFFD;&#xFFFD;&#xFFFD;"},
        {"c1 \xC2\x85", "c1 &#xFFFD;"},
    };
    for (const auto& [text, safe] : kCases) {
        EXPECT_EQ(HtmlText(text), safe) << text;
    }
}

OutageReport ReportOf(const std::string& script) {
    Script played = Play(script);
    ReportRequest request = RequestMadeAt(played.probes.back().tick_ms - 1000000 + 10000);
    request.connection = {"<script>alert(1)</script> \"Wi-Fi\"", "192.168.1.1",
                          "W. Europe Standard Time"};
    return *BuildOutageReport(played.probes, request);
}

// Each outage's row and the totals are on the page; names are escaped; nothing is fetched
// or run.
TEST(OutageReportTest, PageHoldsTheRowsAndTotalsAndNothingFromElsewhere) {
    OutageReport report = ReportOf("...nn..pp  ..");
    std::string page = OutageReportHtml(report);
    for (const char* row :
         {"<tr><td>2026-12-08 00:01:30</td><td>2026-12-08 00:02:30</td><td>1 min 00 s</td>"
          "<td>your network</td><td>2</td></tr>",
          "<tr><td>2026-12-08 00:03:30</td><td>2026-12-08 00:05:15 *</td><td>1 min 45 s</td>"
          "<td>your provider</td><td>2</td></tr>",
          "<tr><th>Availability</th><td>", "<tr><th>Outages</th><td>2, down 2 min 45 s in all",
          "&lt;script&gt;alert(1)&lt;/script&gt; &quot;Wi-Fi&quot;",
          "local time, W. Europe Standard Time, UTC+01:00"}) {
        EXPECT_NE(page.find(row), std::string::npos) << row << "\n" << page;
    }
    for (const char* outside : {"http", "src=", "<script", "url(", "<link", "@import"}) {
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    }
}

TEST(OutageReportTest, CsvHoldsTheSameFiguresQuotedForTheSeparator) {
    std::string csv = OutageReportCsv(ReportOf("...nn..pp  .."), ";");
    for (const char* line :
         {"Summary\r\nFigure;Value\r\n", "Adapter;\"<script>alert(1)</script> \"\"Wi-Fi\"\"\"\r\n",
          "Outages;2\r\n", "Time down (s);165\r\n",
          "2026-12-08 00:01:30;+01:00;2026-12-08 00:02:30;+01:00;60;your "
          "network;2;yes\r\n",
          "2026-12-08 00:03:30;+01:00;2026-12-08 00:05:15;+01:00;105;your "
          "provider;2;no\r\n",
          "\r\nDays\r\n", "2026-12-08;11;4;36;20;20;2\r\n"}) {
        EXPECT_NE(csv.find(line), std::string::npos) << line << "\n" << csv;
    }
}

TEST(OutageReportTest, WritingTellsWhatWasDone) {
    const std::string kPage = "C:\\Docs\\Outage report.html";
    const std::string kCsv = "C:\\Docs\\Outage report.csv";
    Script played = Play("..nn..");
    ReportRequest request = RequestMadeAt(kHourMs);
    testing::MemoryFileSystem files;
    ReportOutcome done = WriteOutageReport(files, played.probes, request, kPage, ",");
    EXPECT_EQ(done.result, ReportResult::Done);
    EXPECT_EQ(done.text, "The outage report is in " + kPage + ", its figures in " + kCsv + ".");
    EXPECT_EQ(files.files.count(kPage) + files.files.count(kCsv), 2u);
    EXPECT_EQ(Opened(done, 0).result, ReportResult::Done);
    ReportOutcome unopened = Opened(done, 1155);
    EXPECT_EQ(unopened.result, ReportResult::PartlyDone);
    EXPECT_NE(unopened.text.find("Windows error 1155"), std::string::npos) << unopened.text;

    testing::MemoryFileSystem no_csv;
    no_csv.folders.insert(kCsv);
    ReportOutcome partly = WriteOutageReport(no_csv, played.probes, request, kPage, ",");
    EXPECT_EQ(partly.result, ReportResult::PartlyDone);
    EXPECT_EQ(partly.page_path, kPage);

    testing::MemoryFileSystem full;
    full.writes_fail = true;
    EXPECT_EQ(WriteOutageReport(full, played.probes, request, kPage, ",").result,
              ReportResult::Failed);

    request.first_day = request.last_day = kDay + 1;
    ReportOutcome refused = WriteOutageReport(files, played.probes, request, "C:\\x.html", ",");
    EXPECT_EQ(refused.result, ReportResult::Refused);
    EXPECT_EQ(refused.text,
              "Vigilo has no probes from 2026-12-09 to 2026-12-09, so no report was written.");
    EXPECT_EQ(files.files.count("C:\\x.html"), 0u);

    for (const auto& [page, csv] :
         {std::pair<std::string, std::string>{"C:\\a.b\\r.htm", "C:\\a.b\\r.csv"},
          {"C:\\a.b\\report", "C:\\a.b\\report.csv"}}) {
        EXPECT_EQ(CsvPathBeside(page), csv);
    }
}

TEST(ReportPeriodViewTest, OffersTheLastWeekAndTakesOnlyAPeriodThatCanBeReported) {
    testing::RecordingMessageBox messages;
    ReportPeriodView view(messages, kDay);
    EXPECT_EQ(view.fldFrom.box.text(), "2026-12-01");
    EXPECT_EQ(view.fldTo.box.text(), "2026-12-08");
    int closes = 0;
    view.on_unload = [&] { ++closes; };
    const std::pair<const char*, const char*> kRefused[] = {
        {"2026-12-1", "Write each day as year, month and day, such as 2026-12-08."},
        {"2026-02-30", "Write each day as year, month and day, such as 2026-12-08."},
        {"2026-12-09", "The period ends before it begins."},
    };
    for (const auto& [from, problem] : kRefused) {
        view.fldFrom.box.SetText(from);
        view.cmdOk.Click();
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_EQ(messages.shown.back().text, problem) << from;
    }
    EXPECT_EQ(closes, 0);
    view.fldFrom.box.SetText("2025-12-07");
    view.cmdOk.Click();
    EXPECT_EQ(messages.shown.back().text, "A report covers 366 days at most.");
    view.fldFrom.box.SetText("2025-12-08");
    view.cmdOk.Click();
    ASSERT_TRUE(view.chosen().has_value());
    EXPECT_EQ(view.chosen()->first, kDay - 365);
    EXPECT_EQ(closes, 1);

    ReportPeriodView cancelled(messages, kDay);
    cancelled.on_unload = [&] { ++closes; };
    cancelled.cmdCancel.Click();
    EXPECT_FALSE(cancelled.chosen().has_value());
    EXPECT_EQ(closes, 2);
}

}  // namespace
}  // namespace zv::monitor
