// The Current Settings dialog: the report of every value Zorvane writes on this Windows in
// a list the user can resize, copy (Ctrl+C or Copy, tab-separated with the column titles),
// save to a text file and read again. It only reads the registry.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "sysconfig/current_settings_report.h"
#include "ui/ports.h"
#include "win32/ui/window_base.h"

namespace zv::win32 {

struct CurrentSettingsServices {
    std::function<std::vector<ReportRow>()> read_report;
    FileSystem& files;
    ui::MessageBoxPort& messages;
    std::string save_folder;  // where Save As starts
};

class CurrentSettingsWindow : public WindowBase {
  public:
    // Reads the report, shows it modally, and returns when the dialog is closed.
    static void ShowModal(HWND owner, const CurrentSettingsServices& services);

  private:
    explicit CurrentSettingsWindow(const CurrentSettingsServices& services) : services_(services) {}
    ~CurrentSettingsWindow() override;
    bool Build(HWND owner);
    std::vector<int> ColumnWidths() const;
    void AddList(const std::vector<int>& widths);
    HWND AddButton(const char* caption, int id, DWORD style);
    void Refresh();
    bool OnGetCellText(NMHDR* header);
    void LayOut();
    void Copy();
    void SaveAs();
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

    const CurrentSettingsServices& services_;
    std::vector<ReportRow> rows_;
    HWND list_ = nullptr;
    std::vector<HWND> buttons_;
    HFONT font_ = nullptr;
    int dpi_ = 96;
};

}  // namespace zv::win32
