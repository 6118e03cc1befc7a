// The operations of the main window that change the system: Apply (check, save, write the
// registry, offer a restart), Restore of the Windows defaults, Undo of the last change,
// the export for deployment, the registry backup and the restart. They work on a
// TuningSettings record, tell the user what happened and never report a failure as
// success.
#pragma once

#include <cstdint>
#include <string>

#include "common/change_lock.h"
#include "common/file_system.h"
#include "common/folder_port.h"
#include "common/program_name.h"
#include "common/windows_release.h"
#include "sysconfig/registry_port.h"
#include "sysconfig/settings_file.h"
#include "sysconfig/system_ports.h"
#include "sysconfig/tool_commands.h"
#include "tuning/tuning_settings.h"
#include "ui/ports.h"

namespace zv::main_window {

constexpr const char* kProgramTitle = kProgramName;
constexpr char kRestoreCaption[] = "Restore Default Settings";
constexpr int kMinimizedFocus = 2;  // the registry editor starts minimised and active

struct SystemPorts {
    FileSystem& files;
    FolderPort& folders;
    RegistryPort& registry;
    ui::MessageBoxPort& messages;
    ui::EventPump& pump;
    sysconfig::RestartPort& restart;
    sysconfig::BackupPort& backup;
    // Puts the modern stack's rows of a snapshot back; null where nothing can.
    StackUndoPort* stack = nullptr;
    // Held while Apply, Restore or Undo writes; null: nothing else ever changes the system.
    ChangeLockPort* change_lock = nullptr;
};

class SystemOperations {
  public:
    // The release and the program folder belong to the program and outlive this object.
    SystemOperations(const WindowsRelease& windows_release, const std::string& program_directory,
                     SystemPorts ports);

    // Apply: a Manual-mode record is checked first (ManualSettingsFailure), and a failed
    // check shows its message and changes nothing; then the record is saved and written
    // (as AsApplied makes it), the user is told, and a restart offered. True when the
    // record reached the file and the registry.
    bool ApplySettings(const TuningSettings& settings);

    // Restore runs in two steps, so that the window can show the Windows defaults between
    // them: the question (true on Yes), then the save and write of the Windows-default
    // record, with its message and no restart. True when the record reached both.
    bool ConfirmRestore();
    bool RestoreWindowsDefaults(const TuningSettings& windows_defaults);

    // Undo: puts the state before the last Apply or Restore back (or, for all changes, the
    // state before Zorvane's first change), tells the user, and offers a restart. True when
    // Zorvane.cfg was put back, so that the window shows it again. CanUndo and CanUndoAll
    // say whether there is a snapshot to put back. While another change holds the change
    // lock, Apply, Restore and Undo are refused with a message and write nothing.
    bool UndoLastChange();
    bool UndoAllChanges();
    bool CanUndo();
    bool CanUndoAll();

    // The export runs in two steps, so that the window asks for the file between them:
    // the check of the record (as Apply makes it, with its message), then the export of
    // what Apply would write, with an undo file beside it. True when both were written.
    bool CheckChoice(const TuningSettings& settings);
    bool ExportForDeployment(const TuningSettings& settings, const std::string& path);

    void BackupRegistry();
    void RestartWindows();

  private:
    // Saves and writes; false (after telling the user why) unless both succeeded.
    bool SaveAndWrite(const TuningSettings& settings);
    void OfferRestart();
    bool Undo(UndoScope scope);
    bool ShowUndo(const UndoResult& undo, UndoScope scope);
    // Exports the registry to the path, replacing a file there only with a whole export.
    bool ExportRegistryTo(const std::string& path);
    ui::MessageAnswer Show(const std::string& text,
                           ui::MessageIcon icon = ui::MessageIcon::Information,
                           ui::MessageButtons buttons = ui::MessageButtons::Ok,
                           int default_button = 1, const std::string& caption = kProgramTitle);

    const WindowsRelease& windows_release_;
    const std::string& program_directory_;
    SystemPorts ports_;
};

}  // namespace zv::main_window
