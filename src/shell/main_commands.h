// What the main window's menus and toolbar ask of the rest of the program. The
// main window's controller implements MainCommands (the operations it owns and its own
// geometry); the real chrome implements ChromeWindowPort (what only a real window can do).
#pragma once

namespace zv::shell {

class MainCommands {
  public:
    virtual ~MainCommands() = default;

    // Apply of the current settings, whether or not the Apply button is enabled.
    virtual void Apply() = 0;
    // Whether the Apply button (cmdApply) is enabled now.
    virtual bool IsApplyEnabled() const = 0;
    // Restore of the Windows defaults, with its confirmation.
    virtual void Restore() = 0;
    virtual void BackupRegistry() = 0;
    // The ping configuration dialog, modal, as the window's Ping Configuration button.
    virtual void ShowPingDialog() = 0;
    // The Tools: the report of the values in effect (modal), Undo of the last Apply or
    // Restore, and the export of the window's choice for other computers.
    virtual void ShowCurrentSettings() = 0;
    virtual void UndoLastChange() = 0;
    // Undo of every change: the state before Zorvane's first change put back.
    virtual void UndoAllChanges() = 0;
    virtual void ExportForDeployment() = 0;
    // Find Largest MTU (modal); an MTU found and chosen goes into Manual mode, unapplied.
    virtual void FindLargestMtu() = 0;
    // Closes the main window; its unload runs as on any close.
    virtual void CloseMainWindow() = 0;

    // Geometry, in twips: the main window's outer height, and the frame that holds all
    // settings (Frame1), which moves with the toolbar.
    virtual void ResizeWindowHeightBy(int twips) = 0;
    virtual void MoveSettingsFrameBy(int twips) = 0;
};

class ChromeWindowPort {
  public:
    virtual ~ChromeWindowPort() = default;
    // The tip of the day, modeless.
    virtual void ShowTipDialog() = 0;
};

}  // namespace zv::shell
