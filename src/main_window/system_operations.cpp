#include "main_window/system_operations.h"

#include <optional>

#include "sysconfig/tool_commands.h"
#include "sysconfig/saved_choice_rules.h"
#include "sysconfig/snapshots.h"

namespace zv::main_window {
namespace {

std::string FolderOf(const std::string& path) {
    auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

SystemOperations::SystemOperations(const WindowsRelease& windows_release,
                                   const std::string& program_directory, SystemPorts ports)
    : windows_release_(windows_release), program_directory_(program_directory), ports_(ports) {}

ui::MessageAnswer SystemOperations::Show(const std::string& text, ui::MessageIcon icon,
                                         ui::MessageButtons buttons, int default_button,
                                         const std::string& caption) {
    ui::Message message;
    message.text = text;
    message.caption = caption;
    message.icon = icon;
    message.buttons = buttons;
    message.default_button = default_button;
    return ports_.messages.Show(message);
}

// The lock is held for the write only: not while the messages wait for the user.
bool SystemOperations::SaveAndWrite(const TuningSettings& settings) {
    CommandReport report{kExitRefused, kAnotherChangeRuns};
    {
        HeldChangeLock lock(ports_.change_lock);
        if (lock.held()) {
            report =
                ReportApply(SaveSettingsAndApply(ports_.files, ports_.folders, ports_.registry,
                                                 program_directory_, settings, windows_release_),
                            program_directory_, "");
        }
    }
    if (report.exit_code != kExitDone) {
        Show(report.text, ui::MessageIcon::Exclamation);
        return false;
    }
    return true;
}

bool SystemOperations::CheckChoice(const TuningSettings& settings) {
    if (settings.OptimizationMode == ManualMode) {
        if (std::optional<std::string> failure = ManualSettingsFailure(settings)) {
            Show(*failure);
            return false;
        }
    }
    return true;
}

bool SystemOperations::ApplySettings(const TuningSettings& settings) {
    if (!CheckChoice(settings) || !SaveAndWrite(settings)) {
        return false;
    }
    Show(
        "Changes Applied Successfully.\r\n"
        "You need to restart the Machine to make chages affect.");
    OfferRestart();
    return true;
}

void SystemOperations::OfferRestart() {
    ui::MessageAnswer answer = Show(
        "System changes were successfully done.\r\n\r\n"
        "In order to enjoy all the benefits of Zorvane, it is highly recommended to restart "
        "computer.\r\n\r\n"
        "Would you like to restart your computer now?",
        ui::MessageIcon::Information, ui::MessageButtons::YesNo, 1);
    if (answer == ui::MessageAnswer::Yes) {
        RestartWindows();
    } else {
        Show(
            "Keep in mind that you must restart your computer\r\n"
            "before the new settings become effective.");
    }
}

bool SystemOperations::ConfirmRestore() {
    return Show("This Program will restore all Windows settings.\r\nWould you like to Continue?",
                ui::MessageIcon::Information, ui::MessageButtons::YesNo, 2,
                kRestoreCaption) == ui::MessageAnswer::Yes;
}

bool SystemOperations::RestoreWindowsDefaults(const TuningSettings& windows_defaults) {
    if (!SaveAndWrite(windows_defaults)) {
        return false;
    }
    Show("Windows default settings were successfully restored.", ui::MessageIcon::Information,
         ui::MessageButtons::Ok, 1, kRestoreCaption);
    return true;
}

bool SystemOperations::CanUndo() {
    return NewestSnapshot(ports_.folders, program_directory_).has_value();
}

bool SystemOperations::CanUndoAll() {
    return ports_.files.FileExists(FirstSnapshotPath(program_directory_));
}

bool SystemOperations::UndoLastChange() {
    return Undo(UndoScope::LastChange);
}

bool SystemOperations::UndoAllChanges() {
    return Undo(UndoScope::AllChanges);
}

bool SystemOperations::Undo(UndoScope scope) {
    std::optional<UndoResult> undo;
    {
        HeldChangeLock lock(ports_.change_lock);
        if (lock.held()) {
            SnapshotPorts ports{ports_.files, ports_.folders, ports_.registry, ports_.stack};
            undo = scope == UndoScope::AllChanges ? zv::UndoAllChanges(ports, program_directory_)
                                                  : zv::UndoLastChange(ports, program_directory_);
        }
    }
    if (!undo) {
        Show(kAnotherChangeRuns, ui::MessageIcon::Exclamation);
        return false;
    }
    return ShowUndo(*undo, scope);
}

bool SystemOperations::ShowUndo(const UndoResult& undo, UndoScope scope) {
    CommandReport report = ReportUndo(undo, program_directory_, scope);
    if (report.exit_code != kExitDone) {
        Show(report.text, ui::MessageIcon::Exclamation);
    } else {
        Show(report.text);
        OfferRestart();
    }
    return undo.outcome == UndoOutcome::Undone || undo.outcome == UndoOutcome::RegistryRefused;
}

bool SystemOperations::ExportForDeployment(const TuningSettings& settings,
                                           const std::string& path) {
    CommandReport report = ReportExport(
        zv::ExportForDeployment(ports_.files, ports_.registry, settings, windows_release_, path),
        path);
    Show(report.text, report.exit_code == kExitDone ? ui::MessageIcon::Information
                                                    : ui::MessageIcon::Exclamation);
    return report.exit_code == kExitDone;
}

// The export is waited for, so that success is reported only for a file that is there.
void SystemOperations::BackupRegistry() {
    std::string path = ports_.backup.ChooseBackupFile(program_directory_);
    ports_.pump.DoEvents();
    if (path.empty()) {
        return;
    }
    ports_.pump.DoEvents();
    bool exported = ExportRegistryTo(path);
    ports_.pump.DoEvents();
    if (exported) {
        Show("Registry Backup has been taken Successfully.");
    } else {
        Show("The Registry Backup failed: the registry could not be exported to the file\r\n" +
                 path + "\r\nAny earlier file of that name is unchanged.",
             ui::MessageIcon::Exclamation);
    }
}

// regedit writes a new file beside the target, and only an export that ended well and
// left a file replaces the target, in one step: a failed export never leaves half a file,
// nor passes an older backup at the same path off as this one.
bool SystemOperations::ExportRegistryTo(const std::string& path) {
    sysconfig::BackupPort& backup = ports_.backup;
    std::string export_file = backup.CreateTemporaryFile(FolderOf(path));
    if (export_file.empty()) {
        return false;
    }
    std::string command_line =
        "\"" + backup.WindowsFolder() + "\\regedit.exe\" /E \"" + export_file + "\"";
    bool exported = backup.RunAndWait(command_line, kMinimizedFocus) == 0u &&
                    backup.FileSize(export_file).value_or(0) > 0 &&
                    backup.ReplaceFile(export_file, path);
    if (!exported) {
        backup.RemoveFile(export_file);
    }
    return exported;
}

void SystemOperations::RestartWindows() {
    ports_.restart.EnableShutdownPrivilege();
    if (!ports_.restart.Reboot()) {
        Show(
            "Windows refused to restart the computer.\r\n"
            "Please restart it yourself so that the new settings take effect.",
            ui::MessageIcon::Exclamation);
    }
}

}  // namespace zv::main_window
