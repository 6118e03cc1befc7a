// The snapshots beside the program: before every Apply and Restore the state they are
// about to change is recorded in a new file of the "Snapshots" folder (the last 20 are
// kept), and Undo puts the newest back exactly and then removes it, so that a second Undo
// goes one change further back. The first snapshot ever taken there (the state before
// Zorvane's first change) is kept apart and never pruned: Undo All Changes puts it back.
// It grows only by rows a change wrote, once the change wrote something.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "common/folder_port.h"
#include "common/windows_release.h"
#include "sysconfig/registry_port.h"
#include "sysconfig/settings_catalogue.h"
#include "sysconfig/snapshot_format.h"

namespace zv {

constexpr char kSnapshotFolderName[] = "\\Snapshots";
constexpr size_t kSnapshotsKept = 20;

struct StackPutBack {
    std::string row;
    std::string failure;
};

// Puts a snapshot's stack values back (the modern stack is reached through more than the
// registry); the layer that knows the stack implements it.
class StackUndoPort {
  public:
    virtual ~StackUndoPort() = default;
    // Whether the value names a setting and instance Zorvane changes: Undo refuses a
    // snapshot naming anything else as damaged.
    virtual bool Knows(const Snapshot::StackValue& value) = 0;
    // Whether a registry value outside the catalogue is one of the stack's (a misplaced
    // TCPNoDelay, say), recorded with its kind and bytes: Undo puts it back as it puts back
    // the catalogue's.
    virtual bool KnowsRegistryValue(const std::string& /*key*/, const std::string& /*name*/) {
        return false;
    }
    // The row as the user knows it, with the value put back ("IPv4 MTU: Ethernet: 1500"),
    // and why it is not back, or "" when it is.
    virtual StackPutBack PutBack(const Snapshot::StackValue& value) = 0;
};

struct SnapshotPorts {
    FileSystem& files;
    FolderPort& folders;
    RegistryPort& registry;
    // Null where nothing puts stack values back: a snapshot holding some is then refused.
    StackUndoPort* stack = nullptr;
};

// The state a change of these catalogue rows would make: each row's value, the keys it
// would create, and Zorvane.cfg. Nothing when a value could not be read, as a snapshot
// that misses one could not undo it.
std::optional<Snapshot> TakeSnapshot(SnapshotPorts ports, const std::string& program_directory,
                                     const std::vector<CatalogueRow>& rows);

enum class SnapshotRecord { Recorded, ValuesUnreadable, NotWritten };
struct RecordedSnapshot {
    SnapshotRecord outcome;
    std::string path;  // the new file, when recorded
    uint64_t number = 0;
    Snapshot snapshot = {};
};

// Takes a snapshot and writes it as the newest file of the folder. Nothing is pruned and
// the first snapshot is not touched yet: a change that did not happen removes its snapshot
// again (DiscardSnapshot), one that did keeps it (KeepSnapshot).
// `stack_values` are recorded as given, the stack being read by its caller.
RecordedSnapshot RecordSnapshot(SnapshotPorts ports, const std::string& program_directory,
                                const std::vector<CatalogueRow>& rows,
                                const std::vector<Snapshot::StackValue>& stack_values = {});
void DiscardSnapshot(FolderPort& folders, const RecordedSnapshot& snapshot);
// After a change of which at least one write was made: the snapshot keeps only the rows
// changed (`rows` and `stack_values` of those recorded), the first snapshot gets those it
// does not hold yet (it is made, when there is none), and the folder is pruned. False, and
// nothing pruned, when either file could not be written.
bool KeepSnapshot(SnapshotPorts ports, const std::string& program_directory,
                  const RecordedSnapshot& recorded, const std::vector<CatalogueRow>& rows,
                  const std::vector<Snapshot::StackValue>& stack_values);
// Keeps the last kSnapshotsKept numbered snapshots, and the first.
void PruneSnapshots(FolderPort& folders, const std::string& program_directory);

// The path of the newest snapshot file, or nothing when there is none.
std::optional<std::string> NewestSnapshot(FolderPort& folders,
                                          const std::string& program_directory);
// The path of the first snapshot, whether or not it is there.
std::string FirstSnapshotPath(const std::string& program_directory);

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
    // The network stack rows put back, and those not put back with why; whether Windows
    // refused a registry value of the snapshot's own.
    std::vector<std::string> stack_back = {};
    std::vector<std::string> stack_not_back = {};
    bool values_refused = false;
};

// Puts the newest snapshot back: Zorvane.cfg as it was (removed if there was none), then
// every value (absent ones removed), then the keys that were absent, where they are empty.
// A snapshot naming a value Zorvane does not write is refused as damaged; the values of
// an adapter removed since are left alone. The snapshot file is removed once all of it is
// back.
UndoResult UndoLastChange(SnapshotPorts ports, const std::string& program_directory);

// Puts the first snapshot back the same way (each value as it was before Zorvane first
// wrote it, an adapter added since included) and then removes the numbered snapshots:
// nothing is left to undo. NothingToUndo when there is no first snapshot.
UndoResult UndoAllChanges(SnapshotPorts ports, const std::string& program_directory);

}  // namespace zv
