// The real Current Settings dialog over its controller: a resizable window with the report
// in a list that asks for the text of the rows it draws, so that a hundred interfaces open
// as fast as one, and the controller's row of buttons. It only reads the registry.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "main_window/current_settings_view.h"
#include "ui/ports.h"
#include "win32/ui/binder.h"
#include "win32/ui/window_base.h"

namespace zv::win32 {

struct CurrentSettingsServices {
    std::function<std::vector<ReportRow>()> read_report;
    FileSystem& files;
    ui::MessageBoxPort& messages;
    std::string save_folder;  // where Save As starts
};

class CurrentSettingsWindow : public WindowBase, private main_window::CurrentSettingsPort {
  public:
    // Reads the report, shows it modally, and returns when the dialog is closed.
    static void ShowModal(HWND owner, const CurrentSettingsServices& services);

  private:
    explicit CurrentSettingsWindow(const CurrentSettingsServices& services);
    ~CurrentSettingsWindow() override;
    bool Build(HWND owner);
    int ClientWidthForColumns(std::vector<int>& widths) const;
    void AddList(const std::vector<int>& widths);
    void Resize();
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnDpiChanged(int dpi, RECT& suggested) override;

    std::string ChooseSaveFile(const std::string& suggested_name) override;
    void CopyToClipboard(const std::string& text) override;
    std::vector<size_t> SelectedRows() override;
    void ShowRows() override;
    void Close() override;

    const CurrentSettingsServices& services_;
    main_window::CurrentSettingsView view_;
    HWND list_ = nullptr;
    HFONT font_ = nullptr;
    int dpi_ = 96;
};

}  // namespace zv::win32
