// The real "Connection History" window over its controller: a resizable window whose graph
// is drawn with GDI into a memory bitmap and copied in one step, so it never flickers. It
// exists only while open: it deletes itself when closed and costs nothing meanwhile.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "monitor/history_view.h"
#include "win32/platform/win32_file_system.h"
#include "win32/ui/binder.h"
#include "win32/ui/window_base.h"

namespace zv::win32 {

// The list separator of the user's locale, which spreadsheets split a CSV line by.
std::string LocaleListSeparator();

class HistoryWindow : public WindowBase, private monitor::HistoryWindowPort {
  public:
    // Opens the window on the monitor's record; on_closed runs when it has gone. Null when
    // the window could not be made.
    // make_report runs for "Outage Report...".
    static HistoryWindow* Open(monitor::LinkMonitor& monitor, ui::MessageBoxPort& messages,
                               std::function<void()> on_closed, std::function<void()> make_report);

  private:
    HistoryWindow(monitor::LinkMonitor& monitor, ui::MessageBoxPort& messages,
                  std::function<void()> on_closed);
    ~HistoryWindow() override;
    bool Build();
    void AddControls();
    void Resize();
    RECT GraphRect() const;
    void EraseAroundGraph(HDC dc);
    void PaintGraph(HDC dc);
    void DrawScene(HDC dc, int width, int height);
    void DrawLegend(HDC dc, int width, int top);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnDestroyed() override;

    std::string ChooseSaveFile(const std::string& suggested_name) override;
    void RedrawGraph() override;
    std::string ListSeparator() override;
    void MakeOutageReport() override { make_report_(); }
    void Close() override;

    // Save As takes the path the wide dialog chose, which may lie outside the ANSI code
    // page.
    Win32FileSystem saved_files_{PathText::Utf8};
    monitor::HistoryView view_;
    std::function<void()> on_closed_;
    std::function<void()> make_report_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
};

}  // namespace zv::win32
