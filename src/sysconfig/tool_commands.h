// Apply, Restore, Undo and the export for deployment as the command line runs them
// (Zorvane.exe /apply, /restore, /undo, /undo all, /export FILE), and what each outcome tells the
// user: the same text in a message box and on the console, with the exit code every switch
// uses.
#pragma once

#include <string>

#include "common/file_system.h"
#include "common/windows_release.h"
#include "sysconfig/deployment_export.h"
#include "sysconfig/settings_file.h"
#include "sysconfig/snapshots.h"
#include "tuning/tuning_settings.h"

namespace zv {

constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;   // the registry or a file refused; nothing reported as done
constexpr int kExitBadInput = 2;  // bad arguments, a missing or damaged file; nothing written

struct CommandReport {
    int exit_code;
    std::string text;  // lines broken by CR LF
};

// What a save-and-write came to; `done` is the text of success, the failures have theirs.
CommandReport ReportApply(ApplyResult result, const std::string& program_directory,
                          const std::string& done);
enum class UndoScope { LastChange, AllChanges };
CommandReport ReportUndo(const UndoResult& undo, const std::string& program_directory,
                         UndoScope scope = UndoScope::LastChange);
CommandReport ReportExport(ExportResult result, const std::string& path);

// Apply of the saved choice (Zorvane.cfg as the window loads it) with the same snapshot,
// file and registry writes as the window's Apply, without messages or the restart
// question. A missing, unreadable or damaged Zorvane.cfg, a Manual choice Apply would
// refuse and an unrecognised Windows release are refused before anything is written.
CommandReport RunApplyCommand(SnapshotPorts ports, const std::string& program_directory,
                              const TuningSettings& defaults, WindowsRelease release);

// Restore of the Windows defaults as Restore answered Yes does: `windows_defaults` is the
// record the window's reset makes.
CommandReport RunRestoreCommand(SnapshotPorts ports, const std::string& program_directory,
                                const TuningSettings& windows_defaults, WindowsRelease release);

// Undo of the last change, without the restart question.
CommandReport RunUndoCommand(SnapshotPorts ports, const std::string& program_directory);

// Undo of every change (Zorvane.exe /undo all): the first snapshot put back; without one,
// nothing changed, and done (0), as nothing of Zorvane's is there to undo.
CommandReport RunUndoAllCommand(SnapshotPorts ports, const std::string& program_directory);

// The export of what Apply would write for the saved choice (Zorvane.cfg as the window
// loads it); a missing, unreadable or damaged Zorvane.cfg is refused.
CommandReport RunExportCommand(FileSystem& files, RegistryPort& registry,
                               const std::string& program_directory, const TuningSettings& defaults,
                               WindowsRelease release, const std::string& path);

}  // namespace zv
