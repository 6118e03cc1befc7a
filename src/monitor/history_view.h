// The "Connection History" window as a controller: the span of the graph (an hour to 30
// days, or a stretch dragged across it to zoom in, with Back), the state now and the figures
// of the span below it, the log and notice options (the drops' and the bufferbloat's), the
// probe host and the slow-notice limits (taken by Apply), "Save History As..." and Close. It exists
// only while the window is open, and is told of each probe meanwhile.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "monitor/history_export.h"
#include "monitor/history_graph.h"
#include "monitor/history_lines.h"
#include "monitor/history_span.h"
#include "monitor/link_monitor.h"
#include "ui/captioned.h"
#include "ui/check_box.h"
#include "ui/field.h"
#include "ui/option.h"
#include "ui/ports.h"
#include "ui/text_box.h"

namespace zv::monitor {

// What only the real window can do for the controller.
class HistoryWindowPort {
  public:
    virtual ~HistoryWindowPort() = default;
    struct ExportChoice {
        std::string path;  // empty when the user cancelled
        bool whole_record = false;
    };
    // The file to save the history in, and whether the whole record or the span shown.
    virtual ExportChoice ChooseExportFile(const std::string& suggested_name) = 0;
    // Writes the export away from the window's thread; the window calls Exported once done.
    virtual void Export(HistoryExport job) = 0;
    virtual void RedrawGraph() = 0;
    virtual void Close() = 0;
    // The list separator of the user's locale, which spreadsheets split a CSV line by.
    virtual std::string ListSeparator() = 0;
    // "Outage Report...": the companion's, as from its tray menu.
    virtual void MakeOutageReport() = 0;
};

struct HistoryViewPorts {
    LinkMonitor& monitor;
    ui::MessageBoxPort& messages;
    HistoryWindowPort& window;
};

// The window's least client size, in twips.
inline constexpr int kHistoryMinWidth = 8600;
inline constexpr int kHistoryMinHeight = 8500;
inline constexpr int kHistoryWidth = 9600;
inline constexpr int kHistoryHeight = 10000;

class HistoryView {
  public:
    explicit HistoryView(const HistoryViewPorts& ports);
    ~HistoryView();
    HistoryView(const HistoryView&) = delete;
    HistoryView& operator=(const HistoryView&) = delete;

    // Shows the options and figures and starts listening to the monitor.
    void Load();
    // Places the controls and the graph for a client area of this size, in twips.
    void Layout(int width, int height);
    // The graph of the chosen span, ending when the figures were last refreshed (so that a
    // partial repaint draws the same picture), for a plot of this size in pixels.
    GraphScene Graph(int width, int height);
    const ui::Bounds& GraphBounds() const { return graph_bounds_; }
    int SpanHours() const { return ports_.monitor.Options().span_hours; }
    bool UsesSystemColours() const { return ports_.monitor.Options().system_colours; }
    // The texts at the graph's bottom: its start, a hint, and its end.
    struct GraphEnds {
        std::string from;
        std::string hint;
        std::string to;
    };
    GraphEnds GraphEndTexts() const;
    // What the graph stands for, as a screen reader reads it: its span, the figures of the
    // span and the graph's keys.
    std::string GraphText() const;
    // Shows the part of the graph between two pixel columns of a plot `width` wide; a
    // click (no drag) does nothing.
    void ZoomIn(int x1, int x2, int width);
    // Back to the view before the newest zoom (the Back button, and Backspace).
    void Back();
    // The graph's keys: the span beside the one shown (Left, Right), the middle half of what
    // is shown (+), back (-). The plot is `width` pixels wide.
    enum class GraphKey { ShorterSpan, LongerSpan, ZoomIn, Back };
    void PressGraphKey(GraphKey key, int width);
    // The export the window wrote off its thread has ended.
    void Exported(bool saved);

    ui::Window frmHistory{"Connection History"};
    ui::OptionGroup span_group;
    ui::Option optSpan1{"Last &hour", span_group};
    ui::Option optSpan6{"Last &6 hours", span_group};
    ui::Option optSpan24{"Last &24 hours", span_group};
    ui::Option optSpan168{"Last &7 days", span_group};
    ui::Option optSpan720{"Last &30 days", span_group};
    ui::Button cmdBack{"Bac&k"};
    // The figure lines under the graph, one for each row of HistoryLines(), in its order.
    std::vector<ui::Label> figure_lines;
    const ui::Label& FigureLine(int id) const;
    // The lines by name, for the checks that read one.
    const ui::Label& lblNow = FigureLine(history_lines::lblNow);
    const ui::Label& lblRoundTrip = FigureLine(history_lines::lblRoundTrip);
    const ui::Label& lblLoss = FigureLine(history_lines::lblLoss);
    const ui::Label& lblRecent = FigureLine(history_lines::lblRecent);
    const ui::Label& lblWhere = FigureLine(history_lines::lblWhere);
    ui::CheckBox chkLog{"&Write every probe to the log file"};
    ui::CheckBox chkNotices{"Show a &notice when the connection drops or returns"};
    ui::CheckBox chkBloatNotice{"Show a notice when the &bufferbloat grade gets worse"};
    ui::Label lblLog;
    ui::Field<ui::TextBox> fldHost{"&Probe host:"};
    ui::Field<ui::TextBox> fldSlowMs{"Slow notice at median round trip (ms):"};
    ui::Field<ui::TextBox> fldSlowLoss{"or loss (%):"};
    ui::Button cmdApply{"&Apply"};
    ui::Button cmdSave{"&Save History As..."};
    ui::Button cmdReport{"Outage &Report..."};
    ui::Button cmdClose{"Close"};

  private:
    // In kSpanHours' order.
    std::array<ui::Option*, std::size(kSpanHours)> SpanOptions() {
        return {&optSpan1, &optSpan6, &optSpan24, &optSpan168, &optSpan720};
    }
    void ConnectHandlers();
    void UpdateOption(bool& option, const ui::CheckBox& box);
    void ChooseSpan(int hours);
    void ShowProbeOptions();
    // Takes the probe host and the slow limits, or says what is wrong and keeps them.
    void ApplyProbeOptions();
    void Refresh();
    void ShowZoom();
    void SaveHistory();
    void LayoutProbeOptions(int top, int inner);

    HistoryViewPorts ports_;
    ui::Bounds graph_bounds_;
    // The span shown, as it stood at the last refresh (so that a partial repaint draws the
    // same picture), and the wall clock then.
    ShownSpan shown_;
    Moment refreshed_;
    ZoomStack zoom_;
    std::string saving_path_;  // of the export under way; empty when none is
};

}  // namespace zv::monitor
