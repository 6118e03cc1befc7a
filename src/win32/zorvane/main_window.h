// The real main window (frmMain): its tuning area and buttons bound to the controller's
// models, the chrome of menus, toolbar and status bar around them, and the modal dialogs
// the controller opens.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "main_window/main_view.h"
#include "main_window/program_records.h"
#include "win32/ui/binder.h"
#include "win32/ui/focus_keeper.h"
#include "win32/ui/window_base.h"
#include "win32/zorvane/main_chrome_win.h"
#include "win32/zorvane/system_ports_win.h"
#include "win32/zorvane/zorvane_services.h"

namespace zv::win32 {

class MainWindow : public WindowBase, public main_window::MainWindowPort {
  public:
    MainWindow(main_window::ProgramRecords& records, ZorvaneServices& services);
    ~MainWindow() override;

    // Creates the window, runs its load sequence and shows it; false when the window
    // could not be created.
    bool Open();
    main_window::MainView& controller() { return *controller_; }
    // True while the main window or a modeless tip dialog is still open: the program runs
    // until the last of them is closed.
    bool AnyWindowOpen() const;

    // MainWindowPort.
    void ShowExplanation(const std::string& net_type_text) override;
    void ShowDialog(main_window::main_menu::Dialog dialog) override;
    void ShowCurrentSettings(std::function<std::vector<ReportRow>()> read_report) override;
    std::string ChooseExportFile() override;
    int ShowMtuFinder(const std::string& host) override;
    void Close() override;
    void ShowTipDialog() override { chrome_->ShowTipDialog(); }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnDpiChanged(int dpi, RECT& suggested) override;

  private:
    SIZE LayOut();
    void SizeAround(SIZE client, POINT at);
    void FitToLayout();
    void AddControls();

    main_window::ProgramRecords& records_;
    ZorvaneServices& services_;
    std::unique_ptr<Win32Backup> backup_;
    std::unique_ptr<MainChromeWin> chrome_;
    std::unique_ptr<main_window::MainView> controller_;
    HFONT font_ = nullptr;
    int dpi_ = 96;
    std::unique_ptr<FocusKeeper> focus_;
};

}  // namespace zv::win32
