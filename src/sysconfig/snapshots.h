// The snapshots beside the program: before every Apply and Restore the state they are
// about to change is recorded in a new file of the "Snapshots" folder (the last 20 are
// kept), and Undo puts the newest back exactly and then removes it, so that a second Undo
// goes one change further back.
#pragma once

#include <optional>
#include <string>

#include "common/file_system.h"
#include "common/folder_port.h"
#include "common/windows_family.h"
#include "sysconfig/registry_port.h"
#include "sysconfig/snapshot_format.h"

namespace zv {

constexpr char kSnapshotFolderName[] = "\\Snapshots";
constexpr size_t kSnapshotsKept = 20;

struct SnapshotPorts {
    FileSystem& files;
    FolderPort& folders;
    RegistryPort& registry;
};

// The state Apply would change on this Windows: every catalogue value of the family's
// layout (each interface's too), the keys it would create, and Zorvane.cfg. Nothing when
// a value could not be read, as a snapshot that misses one could not undo it.
std::optional<Snapshot> TakeSnapshot(SnapshotPorts ports, const std::string& program_directory,
                                     WindowsFamily family);

// Takes a snapshot and writes it as the newest file of the folder, then prunes the folder
// to the last kSnapshotsKept. False when it could not be taken or written.
bool RecordSnapshot(SnapshotPorts ports, const std::string& program_directory,
                    WindowsFamily family);

// The path of the newest snapshot file, or nothing when there is none.
std::optional<std::string> NewestSnapshot(FolderPort& folders,
                                          const std::string& program_directory);

enum class UndoOutcome {
    Undone,
    NothingToUndo,
    Damaged,          // the snapshot was refused; nothing changed
    FileNotWritten,   // Zorvane.cfg could not be put back; the registry was not touched
    RegistryRefused,  // Zorvane.cfg is back, but Windows refused some registry change
};

struct UndoResult {
    UndoOutcome outcome;
    std::string snapshot;  // the file's path, when there was one
    std::string reason;    // why a damaged snapshot was refused
};

// Puts the newest snapshot back: Zorvane.cfg as it was (removed if there was none), then
// every value (absent ones removed), then the keys that were absent, where they are empty.
// The snapshot file is removed once all of it is back.
UndoResult UndoLastChange(SnapshotPorts ports, const std::string& program_directory);

}  // namespace zv
