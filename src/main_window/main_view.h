// The main window (frmMain) as a controller: the tuning area, the three buttons, the chrome
// of menus, toolbar and status bar, the load sequence and the close. It implements the
// operations the chrome triggers, and runs without a real window.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "common/program_name.h"
#include "ping/keep_alive_ping.h"
#include "launch/launchers.h"
#include "main_window/main_chrome.h"
#include "main_window/program_records.h"
#include "main_window/tip_option.h"
#include "sysconfig/current_settings_report.h"
#include "main_window/system_operations.h"
#include "main_window/tuning_view.h"
#include "ui/captioned.h"
#include "ui/ports.h"
#include "ui/timer.h"

namespace zv::main_window {

// What only the real window can do for the controller: its modal dialogs and its end.
class MainWindowPort {
  public:
    virtual ~MainWindowPort() = default;
    // The explanation of Manual mode (frmDisplay), modal; returns when it closed.
    virtual void ShowExplanation(const std::string& net_type_text) = 0;
    // A modal dialog that hands nothing back (the tip of the day at start, the ping
    // configuration, the Network Stack window); returns when it closed.
    virtual void ShowDialog(main_menu::Dialog dialog) = 0;
    // The Current Settings dialog, modal; it reads the report as it opens and on Refresh.
    virtual void ShowCurrentSettings(std::function<std::vector<ReportRow>()> read_report) = 0;
    // The save dialog of the export for deployment: the path, or empty text on Cancel.
    virtual std::string ChooseExportFile() = 0;
    // Find Largest MTU, modal, starting with the host given; returns the MTU the user chose
    // to use in Manual mode, or 0.
    virtual int ShowMtuFinder(const std::string& host) = 0;
    // Destroys the real window; the close runs QueryUnload first.
    virtual void Close() = 0;
    // The tip of the day from the Help menu, modeless: it may outlive the main window.
    virtual void ShowTipDialog() = 0;
};

struct MainWindowPorts {
    MainWindowPort& window;
    ui::MessageBoxPort& messages;
    ui::EventPump& pump;
    ui::Beeper& beeper;
    FileSystem& files;
    FolderPort& folders;
    RegistryPort& registry;
    sysconfig::RestartPort& restart;
    sysconfig::BackupPort& backup;
    TipOptionPort& tip_option;
    launch::Launchers& launchers;
    ping::KeepAlivePing& ping;
    // Undo of the modern stack's rows; null where nothing can put them back.
    StackUndoPort* stack_undo = nullptr;
    // Held while Apply, Restore or Undo writes.
    ChangeLockPort* change_lock = nullptr;
};

class MainView : private ChromeHost {
  public:
    MainView(ProgramRecords& records, const MainWindowPorts& ports);
    MainView(const MainView&) = delete;
    MainView& operator=(const MainView&) = delete;

    ui::Window frmMain{kProgramName};
    TuningView area;
    ui::Button cmdApply{"&Apply"};
    ui::Button cmdPing{"&Ping Configuration"};
    ui::Button cmdHelp{"H&elp"};
    MainChrome chrome;
    // Starts the companion once the shown window has painted (window timers come after
    // painting), so that its start, which loads the shell's libraries, does not slow the
    // window's first appearance.
    ui::Timer companion_start{1, false};

    // Fills the window's controls from the saved settings, before the real window makes
    // them, so that each is made in its loaded state. Runs once, at start.
    void LoadMainWindow();
    // Then offers the tip, shows the window and starts the companion (with the tip, as the
    // tip opens; without, by companion_start).
    void ShowMainWindow();
    // Runs on every close; true would cancel it, which the main window never does. A
    // companion start still waiting goes now.
    bool QueryUnload();

    // The operations the menus, toolbar and buttons run.
    void Apply();
    void Restore();
    void BackupRegistry();
    // A dialog that hands nothing back, modal; what it changed (the Network Stack window's
    // rows) can be undone from the menu afterwards.
    void OpenDialog(main_menu::Dialog dialog);
    // The Tools: the report of the values in effect (modal), Undo of the last Apply or
    // Restore, Undo of every change (the state before Zorvane's first change put back),
    // and the export of the window's choice for other computers.
    void ShowCurrentSettings();
    void UndoLastChange();
    void UndoAllChanges();
    void ExportForDeployment();
    // Find Largest MTU for the host of "Ping.cfg"; an MTU the user chose to use puts the
    // window in Manual mode with it, to be applied with the rest.
    void FindLargestMtu();
    // Closes the main window; its unload runs as on any close.
    void CloseMainWindow();

  private:
    // ChromeHost.
    bool IsApplyEnabled() const override { return cmdApply.enabled(); }
    void ResizeWindowHeightBy(int twips) override;
    void MoveSettingsFrameBy(int twips) override;

    TuningAreaHooks AreaHooks();
    // Undo Last Change and Undo All Changes are available while there is a snapshot to put
    // back.
    void ShowUndoAvailability();
    // After an Undo put Zorvane.cfg back, the window shows it as at start, so that the next
    // Apply does not redo the change undone.
    void ShowSavedSettings();

    ProgramRecords& records_;
    MainWindowPorts ports_;
    SystemOperations operations_;
};

}  // namespace zv::main_window
