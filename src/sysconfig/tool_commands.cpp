#include "sysconfig/tool_commands.h"

#include <optional>

#include "sysconfig/saved_choice_rules.h"

namespace zv {

namespace {

constexpr char kRestartToTakeEffect[] = "\r\nRestart the computer for them to take effect.";

// What stopped before it changed anything: the reason, then a line that says so.
CommandReport Unchanged(int exit_code, const std::string& reason) {
    return {exit_code, reason + "\r\nNothing has been changed."};
}

// A switch works only from a Zorvane.cfg that is there to read: without one, the first
// start's choice (a preset for a dial-up modem) would reach every machine of a deployment
// whose file was forgotten or copied to another folder.
std::optional<CommandReport> NoSavedChoiceFile(const FileSystem& files,
                                               const std::string& program_directory,
                                               const char* verb) {
    const std::string path = program_directory + kSettingsFileName;
    if (files.FileExists(path) && files.ReadFile(path)) {
        return std::nullopt;
    }
    return CommandReport{kExitBadInput, std::string("There is no Zorvane.cfg to ") + verb + " in " +
                                            program_directory};
}

// The heading and one line per item, or nothing when there is none.
std::string Lines(const char* heading, const std::vector<std::string>& items) {
    std::string text = items.empty() ? "" : heading;
    for (const std::string& item : items) {
        text += "\r\n" + item;
    }
    return text;
}

CommandReport UnrecognisedRelease() {
    return Unchanged(kExitRefused,
                     "This Windows release is not recognised, so there are no settings to write.");
}

}  // namespace

CommandReport ReportApply(ApplyResult result, const std::string& program_directory,
                          const std::string& done) {
    switch (result) {
        case ApplyResult::Applied:
            return {kExitDone, done};
        case ApplyResult::ValuesUnreadable:
            return Unchanged(kExitRefused,
                             "The settings were not applied: a registry value they replace could "
                             "not be read, so it could not be recorded for Undo.");
        case ApplyResult::SnapshotNotWritten:
            return Unchanged(kExitRefused,
                             "The settings were not applied: the values they replace could not be "
                             "recorded for Undo in the folder\r\n" +
                                 program_directory + kSnapshotFolderName);
        case ApplyResult::FileNotWritten:
            return Unchanged(kExitRefused, "The settings could not be saved to the file\r\n" +
                                               program_directory + kSettingsFileName);
        case ApplyResult::RegistryRefused:
            break;
    }
    return {kExitRefused,
            "The settings were saved, but they could not be written into Windows.\r\n"
            "Zorvane must run as administrator to change them: start it as administrator and "
            "apply them again."};
}

CommandReport ReportUndo(const UndoResult& undo, const std::string& program_directory,
                         UndoScope scope) {
    const bool all = scope == UndoScope::AllChanges;
    const std::string what = all ? "The changes" : "The last change";
    const std::string back = Lines("\r\nThe network stack settings put back:", undo.stack_back);
    switch (undo.outcome) {
        case UndoOutcome::Undone:
            return {kExitDone, (all ? "All changes have been undone: the registry values and "
                                      "Zorvane.cfg are as they were before Zorvane's first change."
                                    : "The last change has been undone: the registry values and "
                                      "Zorvane.cfg are as they were before it.") +
                                   back};
        case UndoOutcome::NothingToUndo:
            return {kExitRefused, "There is no change to undo."};
        case UndoOutcome::Damaged:
            return Unchanged(
                kExitBadInput,
                what + " cannot be undone: " + (all ? "the snapshot\r\n" : "its snapshot\r\n") +
                    undo.snapshot + "\r\nis damaged (" + undo.reason + ").");
        case UndoOutcome::FileNotWritten:
            return Unchanged(kExitRefused, what + " could not be undone: the file\r\n" +
                                               program_directory + kSettingsFileName +
                                               "\r\ncould not be put back.");
        case UndoOutcome::RegistryRefused:
            break;
    }
    std::string text = "Zorvane.cfg is back as it was, but not everything was put back." +
                       Lines("\r\nThe network stack settings not put back:", undo.stack_not_back) +
                       back;
    if (undo.values_refused) {
        text +=
            "\r\nWindows refused to put back some registry values. Zorvane must run as "
            "administrator to change them: start it as administrator and " +
            std::string(all ? "undo all changes" : "undo the last change") + " again.";
    }
    return {kExitRefused, text};
}

CommandReport ReportExport(ExportResult result, const std::string& path) {
    switch (result) {
        case ExportResult::Written:
            return {kExitDone, "The settings Apply would write were exported to\r\n" + path +
                                   "\r\nand the values they replace on this computer to\r\n" +
                                   UndoFilePath(path) +
                                   "\r\nThe MTU of each network adapter is not in them: run "
                                   "Zorvane.exe /apply on each computer to write it."};
        case ExportResult::NothingToExport:
            return {kExitRefused,
                    "This Windows release is not recognised, so there are no settings to "
                    "export."};
        case ExportResult::ValuesUnreadable:
            return {kExitRefused,
                    "The export was not written: the values of this computer could not be read "
                    "for its undo file."};
        case ExportResult::FileNotWritten:
            break;
    }
    return {kExitRefused, "The export could not be written to\r\n" + path};
}

CommandReport RunApplyCommand(SnapshotPorts ports, const std::string& program_directory,
                              const TuningSettings& defaults, WindowsRelease release) {
    if (release == WindowsRelease::Unrecognised) {
        return UnrecognisedRelease();
    }
    if (auto refused = NoSavedChoiceFile(ports.files, program_directory, "apply")) {
        return *refused;
    }
    std::optional<TuningSettings> choice =
        SavedChoice(ports.files, program_directory, defaults, release);
    if (!choice) {
        return Unchanged(kExitBadInput, "The file\r\n" + program_directory + kSettingsFileName +
                                            "\r\nis damaged, so there is no choice to apply.");
    }
    if (choice->OptimizationMode == ManualMode) {
        if (std::optional<std::string> failure = ManualSettingsFailure(*choice)) {
            return Unchanged(kExitBadInput, *failure);
        }
    }
    return ReportApply(SaveSettingsAndApply(ports.files, ports.folders, ports.registry,
                                            program_directory, *choice, release),
                       program_directory,
                       "The settings of\r\n" + program_directory + kSettingsFileName +
                           "\r\nwere applied." + kRestartToTakeEffect);
}

CommandReport RunRestoreCommand(SnapshotPorts ports, const std::string& program_directory,
                                const TuningSettings& windows_defaults, WindowsRelease release) {
    if (release == WindowsRelease::Unrecognised) {
        return UnrecognisedRelease();
    }
    return ReportApply(
        SaveSettingsAndApply(ports.files, ports.folders, ports.registry, program_directory,
                             windows_defaults, release),
        program_directory,
        std::string("The Windows default settings were restored.") + kRestartToTakeEffect);
}

CommandReport RunUndoCommand(SnapshotPorts ports, const std::string& program_directory) {
    return ReportUndo(UndoLastChange(ports, program_directory), program_directory);
}

// Without a record of the state before Zorvane's first change (a folder emptied by hand,
// or a machine where nothing ever needed changing), nothing is Zorvane's to undo: the
// values there may be an administrator's or another program's, so all of them stay.
CommandReport RunUndoAllCommand(SnapshotPorts ports, const std::string& program_directory) {
    UndoResult undo = UndoAllChanges(ports, program_directory);
    if (undo.outcome != UndoOutcome::NothingToUndo) {
        return ReportUndo(undo, program_directory, UndoScope::AllChanges);
    }
    return Unchanged(kExitDone,
                     "There is no record of the settings before Zorvane's first change, so there "
                     "is nothing of Zorvane's to undo.");
}

CommandReport RunExportCommand(FileSystem& files, RegistryPort& registry,
                               const std::string& program_directory, const TuningSettings& defaults,
                               WindowsRelease release, const std::string& path) {
    if (path.empty()) {
        return {kExitBadInput, "Name the file to export to: Zorvane.exe /export FILE"};
    }
    if (auto refused = NoSavedChoiceFile(files, program_directory, "export")) {
        return *refused;
    }
    std::optional<TuningSettings> choice = SavedChoice(files, program_directory, defaults, release);
    if (!choice) {
        return {kExitBadInput, "The file\r\n" + program_directory + kSettingsFileName +
                                   "\r\nis damaged, so there is no choice to export."};
    }
    return ReportExport(ExportForDeployment(files, registry, *choice, release, path), path);
}

}  // namespace zv
