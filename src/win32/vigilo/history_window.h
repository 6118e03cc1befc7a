// The real "Connection History" window over its controller: a resizable window whose graph
// is drawn with GDI into a memory bitmap and copied in one step, so it never flickers. It
// exists only while open: it deletes itself when closed and costs nothing meanwhile. A drag
// across the graph zooms in; Backspace (outside a text box) or Back goes back. Tab stops on
// the graph, whose keys change the span and zoom.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "monitor/history_view.h"
#include "ui/palette.h"
#include "win32/ui/binder.h"
#include "win32/ui/window_base.h"

namespace zv::win32 {

// The list separator of the user's locale, which spreadsheets split a CSV line by.
std::string LocaleListSeparator();
// Told by the exporter when a "Save History As..." has ended: wparam nonzero when written.
inline constexpr UINT kHistorySavedMessage = WM_APP + 35;

class HistoryWindow : public WindowBase, private monitor::HistoryWindowPort {
  public:
    // Runs an export away from the window's thread and posts kHistorySavedMessage to the
    // window named when it has ended.
    using Exporter = std::function<void(HWND, monitor::HistoryExport)>;

    // Opens the window on the monitor's record; on_closed runs when it has gone. Null when
    // the window could not be made. make_report runs for "Outage Report...".
    static HistoryWindow* Open(monitor::LinkMonitor& monitor, ui::MessageBoxPort& messages,
                               Exporter exporter, std::function<void()> on_closed,
                               std::function<void()> make_report);

    // The scheme is read again (an option, high contrast or the dark setting changed) and
    // the window painted anew.
    void ColoursChanged();

  private:
    HistoryWindow(monitor::LinkMonitor& monitor, ui::MessageBoxPort& messages, Exporter exporter,
                  std::function<void()> on_closed, std::function<void()> make_report);
    ~HistoryWindow() override;
    bool Build();
    void AddControls();
    void Resize();
    RECT GraphRect() const;
    void PlaceGraphKeys();
    // A key pressed (or, when typed, a character) on the graph.
    void PressGraphKey(WPARAM key, bool typed);
    void EraseAroundGraph(HDC dc);
    void PaintGraph(HDC dc);
    // The drag across the graph, in its plot's pixel columns.
    bool StartDrag(LPARAM point);
    void MoveDrag(LPARAM point);
    void EndDrag(LPARAM point);
    int PlotColumn(LPARAM point) const;
    LRESULT HandleMouse(UINT message, LPARAM lparam);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnDestroyed() override;
    void OnDpiChanged(int dpi, RECT& suggested) override;

    ExportChoice ChooseExportFile(const std::string& suggested_name) override;
    void Export(monitor::HistoryExport job) override;
    void RedrawGraph() override;
    std::string ListSeparator() override;
    void MakeOutageReport() override { make_report_(); }
    void Close() override;

    monitor::HistoryView view_;
    Exporter exporter_;
    std::function<void()> on_closed_;
    std::function<void()> make_report_;
    bool dragging_ = false;
    int drag_from_ = 0;
    int drag_to_ = 0;
    int dpi_ = 96;
    ui::Scheme scheme_ = ui::Scheme::Normal;
    HFONT font_ = nullptr;
    HWND graph_keys_ = nullptr;
    std::string graph_text_;
};

}  // namespace zv::win32
