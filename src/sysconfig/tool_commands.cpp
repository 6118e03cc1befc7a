#include "sysconfig/tool_commands.h"

#include "sysconfig/settings_file.h"

namespace zv {

CommandReport ReportUndo(const UndoResult& undo, const std::string& program_directory) {
    switch (undo.outcome) {
        case UndoOutcome::Undone:
            return {kExitDone,
                    "The last change has been undone: the registry values and Zorvane.cfg are "
                    "as they were before it."};
        case UndoOutcome::NothingToUndo:
            return {kExitRefused, "There is no change to undo."};
        case UndoOutcome::Damaged:
            return {kExitBadInput, "The last change cannot be undone: its snapshot\r\n" +
                                       undo.snapshot + "\r\nis damaged (" + undo.reason +
                                       ").\r\nNothing has been changed."};
        case UndoOutcome::FileNotWritten:
            return {kExitRefused, "The last change could not be undone: the file\r\n" +
                                      program_directory + kSettingsFileName +
                                      "\r\ncould not be put back.\r\nNothing has been changed."};
        case UndoOutcome::RegistryRefused:
            break;
    }
    return {kExitRefused,
            "Zorvane.cfg is back as it was, but Windows refused to put back some registry "
            "values.\r\nZorvane must run as administrator to change them: start it as "
            "administrator and undo the last change again."};
}

CommandReport ReportExport(ExportResult result, const std::string& path) {
    switch (result) {
        case ExportResult::Written:
            return {kExitDone, "The settings Apply would write were exported to\r\n" + path +
                                   "\r\nand the values they replace on this computer to\r\n" +
                                   UndoFilePath(path)};
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

CommandReport RunUndoCommand(SnapshotPorts ports, const std::string& program_directory) {
    return ReportUndo(UndoLastChange(ports, program_directory), program_directory);
}

CommandReport RunExportCommand(FileSystem& files, RegistryPort& registry,
                               const std::string& program_directory, const TuningSettings& defaults,
                               WindowsFamily family, const std::string& path) {
    if (path.empty()) {
        return {kExitBadInput, "Name the file to export to: Zorvane.exe /export FILE"};
    }
    std::optional<TuningSettings> choice = SavedChoice(files, program_directory, defaults, family);
    if (!choice) {
        return {kExitBadInput, "The file\r\n" + program_directory + kSettingsFileName +
                                   "\r\nis damaged, so there is no choice to export."};
    }
    return ReportExport(ExportForDeployment(files, registry, *choice, family, path), path);
}

}  // namespace zv
