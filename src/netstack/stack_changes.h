// Changes of chosen rows: each recorded in a snapshot first, then written the way this
// release takes it (WMI, netsh, IP Helper or the registry), read back where it can be, and
// reported one by one as done, partly done, not known or refused; a refused change is never
// reported as done, and one that may have changed anything keeps its snapshot. Undo Last
// Change and Undo All Changes put the rows back through StackUndo.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "netstack/stack_catalogue.h"
#include "sysconfig/snapshots.h"

namespace zv::netstack {

// A new value for a row; nothing removes the row's registry value (misplaced and classic
// values only).
struct RowChange {
    RowId row;
    std::optional<uint32_t> value;

    bool operator==(const RowChange& other) const {
        return row == other.row && value == other.value;
    }
};

enum class ChangeResult {
    Done,
    // One of an MTU's two stores took it: set now but not stored for the next start, or
    // the reverse.
    PartlyDone,
    // netsh or WMI did not answer in time, or the value could not be read back: it may have
    // been made, or may still be.
    Unknown,
    Refused,       // Windows, WMI or netsh refused (netsh's exit code is named): nothing changed
    NotAvailable,  // this Windows has no way to make it (no SetIpInterfaceEntry, say)
    NotRecorded,   // the snapshot could not be written: nothing was changed
    NotAllowed,    // no such row, a read-only row, or a value the row does not allow
};

// Whether a change so told may have changed something, so that Undo must put it back.
bool MayHaveChanged(ChangeResult result);

struct ChangeOutcome {
    RowChange change;
    ChangeResult result;
    // One line for the user: "Congestion provider: Internet: set to CUBIC.", "IPv4 MTU:
    // Ethernet: partly set to 1400: set now, not stored for the next start (netsh exit code
    // 1)." or "Congestion provider: Internet: not set to CUBIC, refused (netsh exit code 1)."
    std::string text;
};

// Records one snapshot of every row to change (its old value, or "Windows default" where
// it cannot be read; an MTU's persistent value beside the one in effect), then makes each
// change. The snapshot and the first snapshot keep only the rows that were, or may have
// been, changed; none: the snapshot is removed again. An MTU already in effect now and
// stored for the next start is not written. `rows` are those last read.
std::vector<ChangeOutcome> ApplyChanges(StackPorts& ports, SnapshotPorts snapshots,
                                        const std::string& program_directory,
                                        const StackMachine& machine,
                                        const std::vector<StackRow>& rows,
                                        const std::vector<RowChange>& changes);

// Find Largest MTU's "Use for This Adapter": the IPv4 MTU of the adapter Windows routes the
// address (network byte order) through, now (SetIpInterfaceEntry) and persistently (netsh
// ... store=persistent), recorded for Undo. NotAllowed when no adapter routes it.
ChangeOutcome UseMtuForRoute(StackPorts& ports, SnapshotPorts snapshots,
                             const std::string& program_directory, const StackMachine& machine,
                             uint32_t address, uint32_t mtu);

// Whether all outcomes are Done.
bool AllDone(const std::vector<ChangeOutcome>& outcomes);
// Whether any change was made only in part, or may have been made.
bool AnyPartlyOrUnknown(const std::vector<ChangeOutcome>& outcomes);

// Puts snapshot stack values back for Undo; give it as SnapshotPorts::stack.
class StackUndo : public StackUndoPort {
  public:
    StackUndo(StackPorts& ports, const StackMachine& machine) : ports_(ports), machine_(machine) {}
    bool Knows(const Snapshot::StackValue& value) override;
    bool KnowsRegistryValue(const std::string& key, const std::string& name) override;
    StackPutBack PutBack(const Snapshot::StackValue& value) override;

  private:
    StackPorts& ports_;
    const StackMachine& machine_;
};

}  // namespace zv::netstack
