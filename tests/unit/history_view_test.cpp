// The connection history window's controller over a scripted record: options shown and
// stored, figures per span, the log line, the CSV export, and listening only while open.
#include "monitor/history_view.h"

#include <gtest/gtest.h>

#include "fakes/monitor_fakes.h"
#include "fakes/recording_ui.h"
#include "monitor/history_csv.h"
#include "monitor/link_texts.h"

namespace zv::monitor {
namespace {

struct FakeHistoryWindow : HistoryWindowPort {
    ExportChoice chosen;
    std::vector<HistoryExport> exports;
    int redraws = 0;
    int closes = 0;
    ExportChoice ChooseExportFile(const std::string&) override { return chosen; }
    void Export(HistoryExport job) override { exports.push_back(std::move(job)); }
    void RedrawGraph() override { ++redraws; }
    void Close() override { ++closes; }
    std::string ListSeparator() override { return ";"; }
    void MakeOutageReport() override { ++reports; }
    int reports = 0;
};

class HistoryViewTest : public ::testing::Test {
  protected:
    HistoryViewTest() {
        // Two hours ago a lost probe; in the last hour two answers of 20 and 40 ms.
        monitor.Record(monitor.Now(), std::nullopt);
        clock.Advance(2 * kHourMs);
        monitor.Record(monitor.Now(), 20u);
        clock.Advance(30000);
        monitor.Record(monitor.Now(), 40u);
    }

    testing::FakeClock clock;
    testing::FollowingWallClock wall_clock{clock};
    testing::MemoryLogFiles log_files;
    monitor::ProbeLog log{log_files};
    testing::MemoryOptions options{"probe.example"};
    LinkMonitor monitor{{wall_clock, log, options}};
    testing::RecordingMessageBox messages;
    FakeHistoryWindow window;
};

TEST_F(HistoryViewTest, ShowsTheStoredOptionsWithoutWritingThemAndFiguresOfTheSpan) {
    options.values = {{"LogFile", 1}, {"Notices", 0}, {"GraphSpanHours", 6}};
    LinkMonitor stored{{wall_clock, log, options}};
    HistoryView view({stored, messages, window});
    view.Load();
    EXPECT_EQ(view.chkLog.value(), 1);
    EXPECT_EQ(view.chkNotices.value(), 0);
    EXPECT_TRUE(view.optSpan6.selected());
    EXPECT_EQ(options.writes, 0);
    EXPECT_EQ(view.lblLog.caption(), "Log file: C:\\Users\\u\\AppData\\Zorvane\\Vigilo.log");

    HistoryView one_hour({monitor, messages, window});
    one_hour.Load();
    EXPECT_TRUE(one_hour.optSpan1.selected());
    EXPECT_EQ(
        one_hour.lblRoundTrip.caption(),
        "Round trip: min 20 ms, average 30 ms, max 40 ms, jitter 20 ms, 95th percentile 40 ms");
    EXPECT_EQ(one_hour.lblNow.caption(), "Now: connected, 40 ms");
    EXPECT_EQ(one_hour.lblRecent.caption(), "Loss in the last 10 minutes: 0%, last hour: 0%");
    EXPECT_EQ(one_hour.lblLoss.caption(),
              "Loss: 0% (0 lost probes of 2), drops: 0, longest outage: none");
    EXPECT_EQ(one_hour.lblLog.caption(), "");
    EXPECT_EQ(one_hour.FigureLine(history_lines::lblLoad).caption(), "Load: not measured yet");
    EXPECT_EQ(one_hour.FigureLine(history_lines::lblBloat).caption(),
              "Latency when busy: 20 more busy samples needed for a verdict (0 of 20)");
}

TEST_F(HistoryViewTest, ChoicesAreStoredAndChangeWhatIsShown) {
    HistoryView view({monitor, messages, window});
    view.Load();
    view.optSpan24.Select();
    EXPECT_EQ(options.values["GraphSpanHours"], 24u);
    EXPECT_EQ(view.lblLoss.caption(),
              "Loss: 33% (1 lost probe of 3), drops: 0, longest outage: 1 min");
    view.chkNotices.Toggle();
    EXPECT_EQ(options.values["Notices"], 0u);
    EXPECT_FALSE(monitor.Options().notices);
    EXPECT_EQ(view.chkBloatNotice.value(), 0);  // off by default
    view.chkBloatNotice.Toggle();
    EXPECT_EQ(options.values["BloatNotice"], 1u);

    view.chkLog.Toggle();
    EXPECT_TRUE(monitor.Options().log);
    log_files.appends_fail = true;
    monitor.Record(monitor.Now(), 30u);  // heard while open
    EXPECT_EQ(view.lblLog.caption(), monitor.Log().Problem());
    EXPECT_NE(view.lblLog.caption(), "");
    EXPECT_EQ(view.lblLoss.caption(),
              "Loss: 25% (1 lost probe of 4), drops: 0, longest outage: 1 min");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HistoryViewTest, ApplyTakesAProbeHostThePingDialogWouldAndTheSlowLimits) {
    HistoryView view({monitor, messages, window});
    view.Load();
    EXPECT_EQ(view.fldHost.box.text(), "probe.example");
    EXPECT_EQ(view.fldSlowMs.box.text(), "");
    view.fldSlowMs.box.Type('x');  // digits only
    for (char key : std::string("250")) {
        view.fldSlowMs.box.Type(key);
    }
    view.fldSlowLoss.box.Paste("5");
    view.fldHost.box.SetText("bad host");
    view.cmdApply.Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "\"bad host\" cannot be probed: it holds characters other than letters, digits, "
              "hyphens and dots.");
    EXPECT_EQ(monitor.Host(), "probe.example");
    EXPECT_EQ(monitor.Options().slow_round_trip_ms, 0u);

    view.fldHost.box.SetText("10.0.3.2");
    view.cmdApply.Click();
    EXPECT_EQ(monitor.Host(), "10.0.3.2");
    EXPECT_EQ(options.texts["ProbeHost"], "10.0.3.2");
    EXPECT_EQ(options.values["SlowRoundTripMs"], 250u);
    EXPECT_EQ(options.values["SlowLossPercent"], 5u);

    clock.Advance(30000);
    Moment sent = monitor.Now();
    clock.Advance(10000);  // the echo's wait
    monitor.Record(sent, std::nullopt, false, Where::YourProvider);
    monitor.Record(monitor.Now(), std::nullopt, false, Where::YourProvider);  // confirmed
    EXPECT_EQ(view.lblNow.caption(), "Now: not connected since 15:01 (your provider)");
    EXPECT_EQ(view.lblWhere.caption(),
              "Outages: your network 0, your provider 1, beyond your provider 0");
    const ui::Label& test = view.FigureLine(history_lines::lblResponsiveness);
    EXPECT_EQ(test.caption(), "Responsiveness: no test yet (tray menu, Test Responsiveness...)");
    monitor.SetTestLine("Responsiveness: Good (2400 RPM), +12 ms when busy, 2026-12-08 16:40");
    monitor.Record(monitor.Now(), 20u);
    EXPECT_EQ(test.caption(),
              "Responsiveness: Good (2400 RPM), +12 ms when busy, 2026-12-08 16:40");
}

TEST_F(HistoryViewTest, OnlyAnOpenWindowIsToldOfProbes) {
    {
        HistoryView view({monitor, messages, window});
        view.Load();
        int redraws = window.redraws;
        monitor.Record(monitor.Now(), 30u);
        EXPECT_EQ(window.redraws, redraws + 1);
        view.cmdClose.Click();
        EXPECT_EQ(window.closes, 1);
    }
    int redraws = window.redraws;
    monitor.Record(monitor.Now(), 30u);
    EXPECT_EQ(window.redraws, redraws);
}

// A repaint between probes draws the span the figures speak of, not a later one.
TEST_F(HistoryViewTest, TheGraphIsDrawnForTheTimeOfTheLastRefresh) {
    HistoryView view({monitor, messages, window});
    view.Load();
    int64_t refreshed = monitor.Now().tick_ms;
    clock.Advance(20 * kMinuteMs);
    GraphScene scene = view.Graph(121, 51);
    GraphScene then = BuildGraph(monitor.History(), refreshed - kHourMs, refreshed, 121, 51);
    ASSERT_FALSE(scene.lines.empty() || then.lines.empty());
    EXPECT_EQ(scene.lines.back().back().x, then.lines.back().back().x);
    EXPECT_EQ(scene.bands.back().right, then.bands.back().right);
}

// However many rows the table of lines holds, at the least size the graph keeps a height,
// the lines stand one under another below it in the table's order, and the options under
// them end above the buttons.
TEST_F(HistoryViewTest, TheFigureLinesStandInTheTablesOrderBelowTheGraph) {
    HistoryView view({monitor, messages, window});
    view.Layout(kHistoryMinWidth, kHistoryMinHeight);
    const ui::Bounds& graph = view.GraphBounds();
    EXPECT_GT(graph.height, 0);
    int bottom = graph.top + graph.height;
    for (const HistoryLine& row : HistoryLines()) {
        const ui::Bounds& line = view.FigureLine(row.id).bounds();
        EXPECT_GE(line.top, bottom) << "line " << row.id << " at " << line.top;
        bottom = line.top + line.height;
    }
    const ui::Bounds& last_option = view.fldSlowMs.box.bounds();
    EXPECT_LE(last_option.top + last_option.height, view.cmdSave.bounds().top)
        << "options end at " << last_option.top + last_option.height << ", buttons begin at "
        << view.cmdSave.bounds().top;
}

// Three days ago, before the day held whole, two hours of losses; then the week shows them,
// a drag zooms to the last hour, Back returns to the week, and a span chosen leaves any zoom.
TEST_F(HistoryViewTest, LongerSpansAndZoomShowTheFiguresOfTheSpanShown) {
    int64_t now = monitor.Now().tick_ms;
    std::vector<SpanSample> earlier;
    for (int64_t t = now - 72 * kHourMs; t < now - 70 * kHourMs; t += 30000) {
        earlier.push_back({t, kLost, false, Where::YourProvider});
    }
    monitor.Restore({}, earlier);
    HistoryView view({monitor, messages, window});
    view.Load();
    EXPECT_FALSE(view.cmdBack.enabled());
    view.optSpan168.Select();
    EXPECT_EQ(options.values["GraphSpanHours"], 168u);
    EXPECT_EQ(view.lblLoss.caption(),
              "Loss: 99% (241 lost probes of 243), drops: 0, longest outage: 2 h 1 min");
    EXPECT_EQ(view.GraphEndTexts().from, "7 days ago");

    view.ZoomIn(97, 100, 101);  // the week's last 5 hours
    EXPECT_EQ(view.lblLoss.caption(),
              "Loss: 33% (1 lost probe of 3), drops: 0, longest outage: 1 min");
    EXPECT_TRUE(view.cmdBack.enabled());
    EXPECT_EQ(view.GraphEndTexts().hint, "Backspace or -: back");
    view.cmdBack.Click();
    EXPECT_FALSE(view.cmdBack.enabled());
    EXPECT_EQ(view.lblLoss.caption(),
              "Loss: 99% (241 lost probes of 243), drops: 0, longest outage: 2 h 1 min");
    view.ZoomIn(0, 50, 101);
    view.optSpan720.Select();
    EXPECT_FALSE(view.cmdBack.enabled());
    EXPECT_EQ(options.values["GraphSpanHours"], 720u);

    for (auto [stored, hours] : {std::pair{720u, 720}, {48u, 1}}) {  // 48: no span offered
        options.values["GraphSpanHours"] = stored;
        LinkMonitor reopened{{wall_clock, log, options}};
        EXPECT_EQ(reopened.Options().span_hours, hours) << stored;
    }
}

// The span shown goes out, or the whole record; the file is written off the window's thread,
// and Save waits for it.
// The graph's keys, from six hours on: each row a key and the span and zoom it leaves.
TEST_F(HistoryViewTest, TheGraphsKeysChangeTheSpanAndZoom) {
    using Key = HistoryView::GraphKey;
    struct Step {
        Key key;
        unsigned span_hours;
        bool zoomed;
    };
    const Step steps[] = {
        {Key::ShorterSpan, 1, false},  {Key::LongerSpan, 6, false},
        {Key::ZoomIn, 6, true},        {Key::ZoomIn, 6, true},
        {Key::Back, 6, true},          {Key::Back, 6, false},
        {Key::ZoomIn, 6, true},        {Key::LongerSpan, 24, false},
        {Key::LongerSpan, 168, false}, {Key::LongerSpan, 720, false},
        {Key::LongerSpan, 720, false}, {Key::ShorterSpan, 168, false},
    };
    HistoryView view({monitor, messages, window});
    view.Load();
    view.optSpan6.Select();
    for (const Step& step : steps) {
        SCOPED_TRACE("step " + std::to_string(&step - steps));
        view.PressGraphKey(step.key, 400);
        EXPECT_EQ(options.values["GraphSpanHours"], step.span_hours);
        EXPECT_EQ(view.cmdBack.enabled(), step.zoomed);
    }
    // The graph's text alternative: its span, every figure line shown, and its keys.
    std::string text = view.GraphText();
    EXPECT_EQ(text.rfind("Graph, 7 days ago to now. Now: ", 0), 0u) << text;
    EXPECT_NE(text.find(". " + view.lblLoss.caption() + ". "), std::string::npos) << text;
    EXPECT_NE(text.find("Keys: Left or Right, the span;"), std::string::npos) << text;
}

TEST_F(HistoryViewTest, SaveHistoryAsExportsTheSpanShownOrTheWholeRecord) {
    HistoryView view({monitor, messages, window});
    view.Load();
    view.cmdSave.Click();  // cancelled
    EXPECT_TRUE(window.exports.empty());

    int64_t now = monitor.Now().tick_ms;
    window.chosen = {"C:\\h.csv", false};
    view.cmdSave.Click();
    ASSERT_EQ(window.exports.size(), 1u);
    const HistoryExport& span = window.exports[0];
    EXPECT_EQ(span.path, "C:\\h.csv");
    EXPECT_EQ(span.separator, ";");
    EXPECT_EQ(span.to_ms - span.from_ms, kHourMs);
    EXPECT_EQ(span.to_ms, now);
    EXPECT_EQ(span.regular.size(), monitor.History().size());
    EXPECT_FALSE(view.cmdSave.enabled());
    EXPECT_EQ(ExportCsv(span, {}),
              HistoryCsv(monitor.History(), monitor.Extras(), ";", now - kHourMs, now));
    view.Exported(true);
    EXPECT_TRUE(view.cmdSave.enabled());
    EXPECT_TRUE(messages.shown.empty());

    window.chosen.whole_record = true;
    view.cmdSave.Click();
    ASSERT_EQ(window.exports.size(), 2u);
    EXPECT_EQ(window.exports[1].from_ms, kWholeRecord);
    EXPECT_EQ(ExportCsv(window.exports[1], {}),
              HistoryCsv(monitor.History(), monitor.Extras(), ";"));
    view.Exported(false);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "The history could not be saved in C:\\h.csv.");
    EXPECT_EQ(messages.shown[0].caption, "Vigilo");

    view.cmdReport.Click();
    EXPECT_EQ(window.reports, 1);
}

}  // namespace
}  // namespace zv::monitor
