#include "monitor/history_view.h"

#include <algorithm>

#include "common/flags.h"
#include "monitor/link_texts.h"

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
constexpr int kSpanWidth = 1800;
// Everything below the graph: two figure lines, two check boxes, the log line, buttons.
constexpr int kBelowGraph =
    kGap + 2 * kLineHeight + kGap + 2 * kCheckHeight + kLineHeight + kGap + kButtonHeight;

}  // namespace

HistoryView::HistoryView(const HistoryViewPorts& ports) : ports_(ports) {
    ConnectHandlers();
}

HistoryView::~HistoryView() {
    ports_.monitor.SetWatcher(nullptr);
}

void HistoryView::ConnectHandlers() {
    optSpan1.on_select = [this] { ChooseSpan(1); };
    optSpan6.on_select = [this] { ChooseSpan(6); };
    optSpan24.on_select = [this] { ChooseSpan(24); };
    chkLog.on_change = [this] {
        UpdateOption(ports_.monitor.Options().log, chkLog);
        Refresh();
    };
    chkNotices.on_change = [this] { UpdateOption(ports_.monitor.Options().notices, chkNotices); };
    cmdSave.on_click = [this] { SaveHistory(); };
    cmdClose.on_click = [this] { ports_.window.Close(); };
}

void HistoryView::Load() {
    const MonitorOptions options = ports_.monitor.Options();
    chkLog.SetValue(FlagToChecked(options.log));
    chkNotices.SetValue(FlagToChecked(options.notices));
    ui::Option& span = options.span_hours == 24  ? optSpan24
                       : options.span_hours == 6 ? optSpan6
                                                 : optSpan1;
    span.Select();
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

void HistoryView::ChooseSpan(int hours) {
    if (ports_.monitor.Options().span_hours != hours) {
        ports_.monitor.Options().span_hours = hours;
        ports_.monitor.SaveOptions();
    }
    Refresh();
}

void HistoryView::Refresh() {
    shown_until_ms_ = ports_.monitor.Now().tick_ms;
    HistoryFigures figures = Summarize(ports_.monitor.History(),
                                       shown_until_ms_ - SpanHours() * kHourMs, shown_until_ms_);
    lblRoundTrip.SetCaption(RoundTripLine(figures));
    lblLoss.SetCaption(LossLine(figures));
    const ProbeLog& log = ports_.monitor.Log();
    std::string log_text;
    if (ports_.monitor.Options().log) {
        log_text = log.Problem().empty() ? "Log file: " + log.Path() : log.Problem();
    }
    lblLog.SetCaption(log_text);
    ports_.window.RedrawGraph();
}

GraphScene HistoryView::Graph(int width, int height) {
    return BuildGraph(ports_.monitor.History(), shown_until_ms_ - SpanHours() * kHourMs,
                      shown_until_ms_, width, height);
}

void HistoryView::SaveHistory() {
    std::string path = ports_.window.ChooseSaveFile("Vigilo history.csv");
    if (path.empty()) {
        return;
    }
    if (!ports_.files.WriteFileAtomic(path,
                                      HistoryCsv(ports_.monitor.History(), ports_.monitor.Host(),
                                                 ports_.window.ListSeparator()))) {
        ports_.messages.Show({"The history could not be saved in " + path + ".", "Vigilo",
                              ui::MessageButtons::Ok, ui::MessageIcon::Exclamation});
    }
}

void HistoryView::Layout(int width, int height) {
    width = std::max(width, kHistoryMinWidth);
    height = std::max(height, kHistoryMinHeight);
    int inner = width - 2 * kMargin;
    int left = kMargin;
    optSpan1.SetBounds({left, kMargin, kSpanWidth, kLineHeight});
    optSpan6.SetBounds({left + kSpanWidth, kMargin, kSpanWidth, kLineHeight});
    optSpan24.SetBounds({left + 2 * kSpanWidth, kMargin, kSpanWidth, kLineHeight});
    int graph_top = kMargin + kLineHeight + kGap;
    int graph_bottom = height - kMargin - kBelowGraph;
    graph_bounds_ = {left, graph_top, inner, graph_bottom - graph_top};
    int y = graph_bottom + kGap;
    lblRoundTrip.SetBounds({left, y, inner, kLineHeight});
    lblLoss.SetBounds({left, y += kLineHeight, inner, kLineHeight});
    chkLog.SetBounds({left, y += kLineHeight + kGap, inner, kCheckHeight});
    chkNotices.SetBounds({left, y += kCheckHeight, inner, kCheckHeight});
    lblLog.SetBounds({left, y += kCheckHeight, inner, kLineHeight});
    int buttons_top = height - kMargin - kButtonHeight;
    cmdClose.SetBounds({width - kMargin - kButtonWidth, buttons_top, kButtonWidth, kButtonHeight});
    cmdSave.SetBounds({width - kMargin - kButtonWidth - kGap - kSaveWidth, buttons_top, kSaveWidth,
                       kButtonHeight});
}

}  // namespace zv::monitor
