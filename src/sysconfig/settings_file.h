// "Zorvane.cfg" beside the program: the last applied tuning choice. Saving it is the first
// half of applying settings; the registry write follows only when the file is safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/file_system.h"
#include "common/folder_port.h"
#include "common/windows_release.h"
#include "sysconfig/registry_port.h"
#include "tuning/tuning_settings.h"

namespace zv {

constexpr char kSettingsFileName[] = "\\Zorvane.cfg";

enum class ApplyResult {
    Applied,             // file written and every registry write succeeded
    ValuesUnreadable,    // nothing changed: a value it replaces could not be read
    SnapshotNotWritten,  // nothing changed: the state before could not be recorded
    FileNotWritten,      // nothing changed: the registry was not touched
    RegistryRefused,     // file written, but Windows refused some registry write
};

// The file's exact bytes: 2 lines in Automatic mode, 11 in Manual mode, CR LF after each.
std::string FormatSettingsFile(const TuningSettings& settings);

// Records a snapshot of what it is about to change (so that Undo can put it back), then
// writes the file (atomically) and then, only when that worked, the registry values; both
// from the record as applied (AsApplied), so that the file loads back to what Windows got.
// Nothing is changed when the snapshot could not be written.
ApplyResult SaveSettingsAndApply(FileSystem& files, FolderPort& folders, RegistryPort& registry,
                                 const std::string& program_directory,
                                 const TuningSettings& settings, WindowsRelease windows_release);

// Fills `current` from the file. A missing file, or one the program could not have
// written, gives `defaults`. An Automatic-mode file sets only the connection type and
// mode; the other fields keep their values.
void LoadSettings(const FileSystem& files, const std::string& program_directory,
                  const TuningSettings& defaults, TuningSettings& current);

// The record Apply would take from the saved choice without a window: the file as
// LoadSettings reads it (the defaults when there is none), an Automatic-mode choice with
// its preset, as the window shows it; nothing when the file is there but damaged.
std::optional<TuningSettings> SavedChoice(const FileSystem& files,
                                          const std::string& program_directory,
                                          const TuningSettings& defaults,
                                          WindowsRelease windows_release);

}  // namespace zv
