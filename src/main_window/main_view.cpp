#include "main_window/main_view.h"

#include "sysconfig/saved_choice_rules.h"
#include "sysconfig/settings_file.h"

namespace zv::main_window {

MainView::MainView(ProgramRecords& records, const MainWindowPorts& ports)
    : area(TuningRecords{records.CurrentSettings, records.DefaultSettings, records.WindowsRelease},
           ports.beeper, AreaHooks()),
      chrome(main_menu::MenuBar({*this, ports.launchers, ports.window, records.WindowsRelease}),
             *this),
      records_(records),
      ports_(ports),
      operations_(
          records.WindowsRelease, records.ProgramDirectory,
          SystemPorts{ports.files, ports.folders, ports.registry, ports.messages, ports.pump,
                      ports.restart, ports.backup, ports.stack_undo, ports.change_lock}) {
    cmdApply.on_click = [this] { Apply(); };
    cmdPing.on_click = [this] { OpenDialog(main_menu::Dialog::PingConfiguration); };
    cmdHelp.on_click = [this] { ports_.launchers.OpenHelpPage(); };
    companion_start.on_tick = [this] {
        companion_start.SetEnabled(false);
        ports_.launchers.StartCompanion();
    };
}

// The hooks run only after construction, when every member they reach exists.
TuningAreaHooks MainView::AreaHooks() {
    return TuningAreaHooks{
        [this] { Apply(); },
        [this](const std::string& net_type) { ports_.window.ShowExplanation(net_type); },
        [this](const std::string& mode_word) { chrome.ShowMode(mode_word); }};
}

// Pending window messages run at fixed points of the load, so that the program keeps
// answering Windows (a broadcast, a shutdown query) while it reads its files, rather than
// only once the tip dialog or the window shows. IsLoading keeps the mode options from
// acting on anything handled meanwhile, until the window is shown.
void MainView::LoadMainWindow() {
    area.SetLoading(true);
    chrome.ShowWindowsName(records_.WindowsName);
    area.FillValueLists();
    LoadSettings(ports_.files, records_.ProgramDirectory, records_.DefaultSettings,
                 records_.CurrentSettings);
    ports_.ping.LoadPingSettings();
    ports_.pump.DoEvents();
    area.ShowSettingsInWindow();
    chrome.ShowPrompt();
    chrome.SetToolbarImages();
    ShowUndoAvailability();
    ports_.pump.DoEvents();
}

// The companion starts once the window is on screen and painted: while Windows starts it,
// the shell is slow to serve the windows being made. With the tip of the day it starts as
// the tip opens, so that it runs while the user reads the tip. The message loop follows at
// once.
void MainView::ShowMainWindow() {
    const bool tip = ShowTipsAtStartup(ports_.tip_option);
    if (tip) {
        ports_.launchers.StartCompanion();
        ports_.window.ShowDialog(main_menu::Dialog::StartupTip);
    }
    frmMain.SetVisible(true);
    frmMain.SetState(ui::WindowState::Normal);
    area.SetLoading(false);
    companion_start.SetEnabled(!tip);
}

// The main program registers no tray icon of its own, so there is nothing to remove.
bool MainView::QueryUnload() {
    companion_start.Tick();
    return false;
}

void MainView::Apply() {
    operations_.ApplySettings(area.TakeValues());
    ShowUndoAvailability();
}

// The window shows the Windows defaults between the question and the save.
void MainView::Restore() {
    if (!operations_.ConfirmRestore()) {
        return;
    }
    area.SetTuningControlsEnabled(true);
    area.ResetToWindowsDefaults();
    operations_.RestoreWindowsDefaults(records_.CurrentSettings);
    ShowUndoAvailability();
}

void MainView::BackupRegistry() {
    operations_.BackupRegistry();
}

void MainView::OpenDialog(main_menu::Dialog dialog) {
    ports_.window.ShowDialog(dialog);
    ShowUndoAvailability();
}

// "Apply would write" follows the window's choice at each Refresh; a choice Apply would
// refuse writes nothing.
void MainView::ShowCurrentSettings() {
    ports_.window.ShowCurrentSettings([this] {
        std::optional<TuningSettings> would_apply = area.TakeValues();
        if (would_apply->OptimizationMode == ManualMode && ManualSettingsFailure(*would_apply)) {
            would_apply.reset();
        }
        return CurrentSettingsReport(ports_.registry, records_.WindowsRelease, would_apply);
    });
}

void MainView::UndoLastChange() {
    if (operations_.UndoLastChange()) {
        ShowSavedSettings();
    }
    ShowUndoAvailability();
}

void MainView::UndoAllChanges() {
    if (operations_.UndoAllChanges()) {
        ShowSavedSettings();
    }
    ShowUndoAvailability();
}

// The tuning controls open first, as a new window has them: Automatic mode closes them.
void MainView::ShowSavedSettings() {
    area.SetLoading(true);
    LoadSettings(ports_.files, records_.ProgramDirectory, records_.DefaultSettings,
                 records_.CurrentSettings);
    area.SetTuningControlsEnabled(true);
    area.ShowSettingsInWindow();
    area.SetLoading(false);
}

// The choice is checked before the save dialog, as Apply would check it.
void MainView::ExportForDeployment() {
    TuningSettings choice = area.TakeValues();
    if (!operations_.CheckChoice(choice)) {
        return;
    }
    std::string path = ports_.window.ChooseExportFile();
    if (!path.empty()) {
        operations_.ExportForDeployment(choice, path);
    }
}

void MainView::ShowUndoAvailability() {
    chrome.menu.SetEnabled(main_menu::menu_undo_last_change, operations_.CanUndo());
    chrome.menu.SetEnabled(main_menu::menu_undo_all_changes, operations_.CanUndoAll());
}

void MainView::FindLargestMtu() {
    ports_.ping.LoadPingSettings();
    int mtu = ports_.window.ShowMtuFinder(ports_.ping.Settings().PingHost);
    if (mtu != 0) {
        area.UseCustomMtu(mtu);
    }
    // "Use for This Adapter" records its change for Undo.
    ShowUndoAvailability();
}

void MainView::CloseMainWindow() {
    ports_.window.Close();
}

void MainView::ResizeWindowHeightBy(int twips) {
    ui::Bounds bounds = frmMain.bounds();
    bounds.height += twips;
    frmMain.SetBounds(bounds);
}

// The buttons sit inside settings_frame, so they move with it.
void MainView::MoveSettingsFrameBy(int twips) {
    area.MoveBy(0, twips);
    for (ui::Button* button : {&cmdApply, &cmdPing, &cmdHelp}) {
        button->MoveBy(0, twips);
    }
}

}  // namespace zv::main_window
