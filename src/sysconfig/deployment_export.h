// The export for deployment: a registry-editor file of what Apply would write on this
// Windows, to import on many machines, and beside it an undo file that puts back the
// values this machine has now. The per-interface values stay out of both, as adapters
// differ between computers (Zorvane.exe /apply writes them for the computer's own); the
// file says so at its top. The NT files leave out what no NT release reads in a key of the
// 9x stack, which the import would create. The 9x layout gets the "REGEDIT4" format its registry
// editor reads, the NT layout the version 5.00 format; both as ANSI text, the string kinds of a
// version 5.00 file in the UTF-16LE its editor reads.
#pragma once

#include <optional>
#include <string>

#include "common/file_system.h"
#include "common/windows_release.h"
#include "sysconfig/registry_port.h"
#include "tuning/tuning_settings.h"

namespace zv {

struct DeploymentFiles {
    std::string apply;  // what Apply writes, removals as "Name"=-
    std::string undo;   // the values as they are now, absent ones as removals
};

// Nothing for an unrecognised Windows, which has no layout to write, or when a value of
// this machine could not be read for the undo file.
std::optional<DeploymentFiles> MakeDeploymentFiles(RegistryPort& registry,
                                                   const TuningSettings& settings,
                                                   WindowsRelease release);

// The undo file's path beside the export: "x.reg" gives "x-undo.reg".
std::string UndoFilePath(const std::string& path);

enum class ExportResult {
    Written,
    NothingToExport,   // an unrecognised Windows has no layout
    ValuesUnreadable,  // the undo file could not be made
    FileNotWritten,
};

// Writes both files from the record as applied (AsApplied), each in one step.
ExportResult ExportForDeployment(FileSystem& files, RegistryPort& registry,
                                 const TuningSettings& settings, WindowsRelease release,
                                 const std::string& path);

}  // namespace zv
