// A snapshot file as a hand edit, a cut-off write or a damaged disk may leave it in the
// Snapshots folder. Whatever the bytes, either it reads to a snapshot that writes back to
// text reading to the same snapshot (and that text is its own fixed point) and Undo puts
// it back unless it names what Zorvane does not write, or it is refused with a reason and
// Undo leaves the registry, Zorvane.cfg and the snapshot file as they were.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/memory_file_system.h"
#include "fakes/memory_folders.h"
#include "fakes/memory_registry.h"
#include "fakes/registry_paths.h"
#include "fuzz_check.h"
#include "sysconfig/settings_file.h"
#include "sysconfig/snapshot_format.h"
#include "sysconfig/snapshots.h"

namespace {

using namespace zv::test_keys;

constexpr char kFolder[] = "C:\\Zorvane";

// Undo of the text as the newest snapshot; `readable` says whether it parsed.
void CheckUndo(const std::string& text, bool readable) {
    zv::testing::MemoryFileSystem files;
    zv::testing::MemoryFolders folders{files};
    zv::testing::MemoryRegistry registry;
    registry.Put(kTcpip, "DefaultTTL", zv::kRegDword, zv::DwordBytes(64));
    const std::string cfg = std::string(kFolder) + zv::kSettingsFileName;
    const std::string snapshot =
        std::string(kFolder) + zv::kSnapshotFolderName + "\\snapshot-000001.txt";
    files.files[cfg] = "ConnectionType,3\r\n";
    files.files[snapshot] = text;
    const auto files_before = files.files;
    const std::string registry_before = registry.Dump();

    zv::UndoResult undo = zv::UndoLastChange({files, folders, registry}, kFolder);
    bool refused = undo.outcome == zv::UndoOutcome::Damaged;
    if (readable && !refused) {
        FUZZ_CHECK(undo.outcome == zv::UndoOutcome::Undone ||
                       undo.outcome == zv::UndoOutcome::RegistryRefused,
                   "outcome " + std::to_string(static_cast<int>(undo.outcome)));
        return;
    }
    FUZZ_CHECK(refused && !undo.reason.empty(),
               "outcome " + std::to_string(static_cast<int>(undo.outcome)));
    // A snapshot that reads is refused only for naming what Zorvane does not write.
    FUZZ_CHECK(!readable || undo.reason.rfind("it names a ", 0) == 0, undo.reason);
    FUZZ_CHECK(files.files == files_before, "a file changed");
    FUZZ_CHECK(registry.Dump() == registry_before, registry.Dump());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    std::optional<zv::Snapshot> parsed = zv::ParseSnapshot(text, &error);
    CheckUndo(text, parsed.has_value());
    if (!parsed) {
        FUZZ_CHECK(!error.empty(), "refused without a reason");
        return 0;
    }

    const std::string written = zv::FormatSnapshot(*parsed);
    std::string reread_error;
    std::optional<zv::Snapshot> reread = zv::ParseSnapshot(written, &reread_error);
    FUZZ_CHECK(reread && *reread == *parsed, reread_error + " in " + zv::fuzz::Escape(written));
    FUZZ_CHECK(zv::FormatSnapshot(*reread) == written, zv::fuzz::Escape(written));
    return 0;
}
