#include "monitor/history_view.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "common/flags.h"
#include "monitor/clock_texts.h"

namespace zv::monitor {
namespace {

// Layout in twips.
constexpr int kMargin = 120;
constexpr int kGap = 120;
constexpr int kLineHeight = 255;
constexpr int kCheckHeight = 285;
constexpr int kButtonHeight = 375;
constexpr int kButtonWidth = 1260;
constexpr int kSaveWidth = 2100;
constexpr int kReportWidth = 1900;
// The span options' widths, in kSpanHours' order, then the Back button's.
constexpr int kSpanWidths[] = {1250, 1500, 1600, 1450, 1550};
constexpr int kBackWidth = 1000;
constexpr int kTextHeight = 315;
constexpr int kHostLabelWidth = 1200;
constexpr int kSlowLabelWidth = 3300;
constexpr int kSlowLossLabelWidth = 1000;
constexpr int kNumberWidth = 700;
constexpr int kApplyWidth = 1000;

// Everything below the graph: the figure lines, three check boxes, the log line, the probe
// options' two rows, buttons.
int BelowGraph() {
    int figure_lines = static_cast<int>(HistoryLines().size());
    return kGap + figure_lines * kLineHeight + kGap + 3 * kCheckHeight + kLineHeight + kGap +
           2 * (kTextHeight + kGap) + kButtonHeight;
}

static_assert(std::size(kSpanWidths) == std::size(kSpanHours));

bool IsDigit(char key) {
    return key >= '0' && key <= '9';
}

uint32_t NumberOf(const std::string& text, uint32_t most) {
    uint32_t number = 0;
    for (char c : text) {
        if (!IsDigit(c)) {
            return 0;
        }
        number = std::min<uint32_t>(number * 10 + static_cast<uint32_t>(c - '0'), most);
    }
    return number;
}

std::string LimitText(uint32_t limit) {
    return limit == 0 ? "" : std::to_string(limit);
}

}  // namespace

HistoryView::HistoryView(const HistoryViewPorts& ports)
    : figure_lines(HistoryLines().size()), ports_(ports) {
    ConnectHandlers();
}

const ui::Label& HistoryView::FigureLine(int id) const {
    const std::vector<HistoryLine>& lines = HistoryLines();
    auto row = std::find_if(lines.begin(), lines.end(),
                            [id](const HistoryLine& line) { return line.id == id; });
    return figure_lines.at(static_cast<std::size_t>(row - lines.begin()));
}

HistoryView::~HistoryView() {
    ports_.monitor.SetWatcher(nullptr);
}

void HistoryView::ConnectHandlers() {
    for (std::size_t i = 0; i < std::size(kSpanHours); ++i) {
        int hours = kSpanHours[i];
        SpanOptions()[i]->on_select = [this, hours] { ChooseSpan(hours); };
    }
    cmdBack.on_click = [this] { Back(); };
    chkLog.on_change = [this] {
        UpdateOption(ports_.monitor.Options().log, chkLog);
        Refresh();
    };
    chkNotices.on_change = [this] { UpdateOption(ports_.monitor.Options().notices, chkNotices); };
    chkBloatNotice.on_change = [this] {
        UpdateOption(ports_.monitor.Options().bloat_notice, chkBloatNotice);
    };
    cmdSave.on_click = [this] { SaveHistory(); };
    cmdReport.on_click = [this] { ports_.window.MakeOutageReport(); };
    cmdApply.on_click = [this] { ApplyProbeOptions(); };
    fldHost.box.SetMaxLength(255);
    for (ui::TextBox* box : {&fldSlowMs.box, &fldSlowLoss.box}) {
        box->SetMaxLength(box == &fldSlowMs.box ? 5 : 3);
        box->on_key_press = [](char key) { return IsDigit(key) || key == ui::kBackspace; };
        box->on_paste = [](const std::string& text) {
            return std::all_of(text.begin(), text.end(), IsDigit);
        };
    }
    cmdClose.on_click = [this] { ports_.window.Close(); };
}

void HistoryView::Load() {
    const MonitorOptions options = ports_.monitor.Options();
    chkLog.SetValue(FlagToChecked(options.log));
    chkNotices.SetValue(FlagToChecked(options.notices));
    chkBloatNotice.SetValue(FlagToChecked(options.bloat_notice));
    const int* chosen = std::find(std::begin(kSpanHours), std::end(kSpanHours), SpanHours());
    SpanOptions()[chosen == std::end(kSpanHours) ? 0 : chosen - std::begin(kSpanHours)]->Select();
    ShowProbeOptions();
    ports_.monitor.SetWatcher([this] { Refresh(); });
    Refresh();
}

// Showing the stored options at load runs these handlers too; they store only a change.
void HistoryView::UpdateOption(bool& option, const ui::CheckBox& box) {
    bool checked = CheckedToFlag(box.value());
    if (option != checked) {
        option = checked;
        ports_.monitor.SaveOptions();
    }
}

void HistoryView::ShowProbeOptions() {
    const MonitorOptions& options = ports_.monitor.Options();
    fldHost.box.SetText(options.host);
    fldSlowMs.box.SetText(LimitText(options.slow_round_trip_ms));
    fldSlowLoss.box.SetText(LimitText(options.slow_loss_percent));
}

void HistoryView::ApplyProbeOptions() {
    const std::string& host = fldHost.box.text();
    std::string problem = ports_.monitor.TakeHost(host);
    if (!problem.empty()) {
        ports_.messages.Show({"\"" + host + "\" cannot be probed: " + problem + ".", "Vigilo",
                              ui::MessageButtons::Ok, ui::MessageIcon::Exclamation});
        return;
    }
    MonitorOptions& options = ports_.monitor.Options();
    options.slow_round_trip_ms = NumberOf(fldSlowMs.box.text(), 99999);
    options.slow_loss_percent = NumberOf(fldSlowLoss.box.text(), 100);
    ports_.monitor.SaveOptions();
    ShowProbeOptions();
}

// Choosing a span leaves any zoom.
void HistoryView::ChooseSpan(int hours) {
    if (ports_.monitor.Options().span_hours != hours) {
        ports_.monitor.Options().span_hours = hours;
        ports_.monitor.SaveOptions();
    }
    zoom_.Clear();
    Refresh();
}

void HistoryView::ZoomIn(int x1, int x2, int width) {
    if (zoom_.ZoomIn(shown_, x1, x2, width)) {
        Refresh();
    }
}

void HistoryView::Back() {
    if (zoom_.Back()) {
        Refresh();
    }
}

void HistoryView::PressGraphKey(GraphKey key, int width) {
    auto options = SpanOptions();
    auto shown = std::find(std::begin(kSpanHours), std::end(kSpanHours), SpanHours());
    auto at = static_cast<std::size_t>(shown - std::begin(kSpanHours));
    switch (key) {
        case GraphKey::ShorterSpan:
            if (at > 0 && at < options.size()) {
                options[at - 1]->Select();
            }
            break;
        case GraphKey::LongerSpan:
            if (at + 1 < options.size()) {
                options[at + 1]->Select();
            }
            break;
        case GraphKey::ZoomIn:
            ZoomIn(width / 4, width - width / 4, width);
            break;
        case GraphKey::Back:
            Back();
            break;
    }
}

void HistoryView::ShowZoom() {
    cmdBack.SetEnabled(zoom_.Zoomed());
}

void HistoryView::Refresh() {
    refreshed_ = ports_.monitor.Now();
    shown_ = zoom_.Shown(SpanHours(), refreshed_.tick_ms);
    ShowZoom();
    const ProbeHistory& history = ports_.monitor.History();
    const HistoryLineFacts facts{history,
                                 ports_.monitor.NowText(),
                                 Summarize(ports_.monitor.Spans(), shown_.from_ms, shown_.to_ms),
                                 Recent(history, refreshed_.tick_ms),
                                 ports_.monitor.Bloat(refreshed_.tick_ms),
                                 ports_.monitor.LoadNow(),
                                 ports_.monitor.TestLine()};
    const std::vector<HistoryLine>& lines = HistoryLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        figure_lines[i].SetCaption(lines[i].text(facts));
    }
    const LogPort& log = ports_.monitor.Log();
    std::string log_text;
    if (ports_.monitor.Options().log) {
        log_text = log.Problem().empty() ? "Log file: " + log.Path() : log.Problem();
    }
    lblLog.SetCaption(log_text);
    ports_.window.RedrawGraph();
}

GraphScene HistoryView::Graph(int width, int height) {
    return BuildGraph(ports_.monitor.Spans(), shown_.from_ms, shown_.to_ms, width, height);
}

// A zoom's ends are told as wall-clock times: the span it came from no longer says them.
HistoryView::GraphEnds HistoryView::GraphEndTexts() const {
    if (!zoom_.Zoomed()) {
        return {SpanAgoText(SpanHours()), "drag or + to zoom in, Left/Right: span", "now"};
    }
    auto at = [this](int64_t tick_ms) {
        WallTime wall{refreshed_.wall.utc_ms - (refreshed_.tick_ms - tick_ms),
                      refreshed_.wall.offset_min};
        std::string iso = IsoTime(wall);
        return iso.substr(0, 10) + " " + iso.substr(11, 5);
    };
    return {at(shown_.from_ms), "Backspace or -: back", at(shown_.to_ms)};
}

std::string HistoryView::GraphText() const {
    GraphEnds ends = GraphEndTexts();
    std::string text = "Graph, " + ends.from + " to " + ends.to + ". ";
    for (const ui::Label& line : figure_lines) {
        if (!line.caption().empty()) {
            text += line.caption() + ". ";
        }
    }
    return text + "Keys: Left or Right, the span; +, zoom in; - or Backspace, back.";
}

void HistoryView::SaveHistory() {
    HistoryWindowPort::ExportChoice choice = ports_.window.ChooseExportFile("Vigilo history.csv");
    if (choice.path.empty()) {
        return;
    }
    HistoryExport job;
    job.path = choice.path;
    job.separator = ports_.window.ListSeparator();
    job.from_ms = choice.whole_record ? kWholeRecord : shown_.from_ms;
    job.to_ms = choice.whole_record ? refreshed_.tick_ms : shown_.to_ms;
    job.regular = ports_.monitor.History();
    job.extras = ports_.monitor.Extras();
    saving_path_ = job.path;
    cmdSave.SetEnabled(false);
    ports_.window.Export(std::move(job));
}

void HistoryView::Exported(bool saved) {
    cmdSave.SetEnabled(true);
    std::string path = std::move(saving_path_);
    saving_path_.clear();
    if (!saved) {
        ports_.messages.Show({"The history could not be saved in " + path + ".", "Vigilo",
                              ui::MessageButtons::Ok, ui::MessageIcon::Exclamation});
    }
}

void HistoryView::Layout(int width, int height) {
    width = std::max(width, kHistoryMinWidth);
    height = std::max(height, kHistoryMinHeight);
    int inner = width - 2 * kMargin;
    int left = kMargin;
    int x = left;
    for (std::size_t i = 0; i < std::size(kSpanWidths); ++i) {
        SpanOptions()[i]->SetBounds({x, kMargin, kSpanWidths[i], kLineHeight});
        x += kSpanWidths[i];
    }
    int back_top = kMargin + (kLineHeight - kTextHeight) / 2;
    cmdBack.SetBounds({width - kMargin - kBackWidth, back_top, kBackWidth, kTextHeight});
    int graph_top = kMargin + kLineHeight + kGap;
    int graph_bottom = height - kMargin - BelowGraph();
    graph_bounds_ = {left, graph_top, inner, graph_bottom - graph_top};
    int y = graph_bottom + kGap;
    for (ui::Label& line : figure_lines) {
        line.SetBounds({left, y, inner, kLineHeight});
        y += kLineHeight;
    }
    chkLog.SetBounds({left, y += kGap, inner, kCheckHeight});
    chkNotices.SetBounds({left, y += kCheckHeight, inner, kCheckHeight});
    chkBloatNotice.SetBounds({left, y += kCheckHeight, inner, kCheckHeight});
    lblLog.SetBounds({left, y += kCheckHeight, inner, kLineHeight});
    LayoutProbeOptions(y + kLineHeight + kGap, inner);
    int buttons_top = height - kMargin - kButtonHeight;
    cmdClose.SetBounds({width - kMargin - kButtonWidth, buttons_top, kButtonWidth, kButtonHeight});
    int save_left = width - kMargin - kButtonWidth - kGap - kSaveWidth;
    cmdSave.SetBounds({save_left, buttons_top, kSaveWidth, kButtonHeight});
    cmdReport.SetBounds(
        {save_left - kGap - kReportWidth, buttons_top, kReportWidth, kButtonHeight});
}

// Two rows: the host with Apply at the right, then the slow limits.
void HistoryView::LayoutProbeOptions(int top, int inner) {
    int left = kMargin;
    int label_top = top + (kTextHeight - kLineHeight) / 2;
    fldHost.label.SetBounds({left, label_top, kHostLabelWidth, kLineHeight});
    int host_left = left + kHostLabelWidth;
    fldHost.box.SetBounds(
        {host_left, top, inner - kHostLabelWidth - kGap - kApplyWidth, kTextHeight});
    cmdApply.SetBounds({left + inner - kApplyWidth, top, kApplyWidth, kTextHeight});
    top += kTextHeight + kGap;
    label_top += kTextHeight + kGap;
    fldSlowMs.label.SetBounds({left, label_top, kSlowLabelWidth, kLineHeight});
    int x = left + kSlowLabelWidth;
    fldSlowMs.box.SetBounds({x, top, kNumberWidth, kTextHeight});
    x += kNumberWidth + kGap;
    fldSlowLoss.label.SetBounds({x, label_top, kSlowLossLabelWidth, kLineHeight});
    fldSlowLoss.box.SetBounds({x + kSlowLossLabelWidth, top, kNumberWidth, kTextHeight});
}

}  // namespace zv::monitor
