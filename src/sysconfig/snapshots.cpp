#include "sysconfig/snapshots.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <utility>

#include "common/numbers.h"
#include "sysconfig/registry_access.h"
#include "sysconfig/settings_catalogue.h"
#include "sysconfig/settings_file.h"

namespace zv {
namespace {

constexpr char kNamePrefix[] = "snapshot-";
constexpr char kFirstName[] = "\\first-snapshot.txt";
constexpr char kNameSuffix[] = ".txt";
constexpr RegistryRoot kRoot = RegistryRoot::LocalMachine;

std::string FolderOf(const std::string& program_directory) {
    return program_directory + kSnapshotFolderName;
}

// Six digits keep the names in order in a file list; the number may outgrow them.
std::string NameOf(uint64_t number) {
    std::string digits = std::to_string(number);
    return kNamePrefix + std::string(digits.size() < 6 ? 6 - digits.size() : 0, '0') + digits +
           kNameSuffix;
}

std::optional<uint64_t> NumberOf(const std::string& name) {
    size_t prefix = sizeof(kNamePrefix) - 1;
    size_t suffix = sizeof(kNameSuffix) - 1;
    if (name.size() <= prefix + suffix || name.compare(0, prefix, kNamePrefix) != 0 ||
        name.compare(name.size() - suffix, suffix, kNameSuffix) != 0) {
        return std::nullopt;
    }
    std::string digits = name.substr(prefix, name.size() - prefix - suffix);
    if (!IsAllDigits(digits) || digits.size() > 18) {
        return std::nullopt;
    }
    return std::stoull(digits);
}

// The numbers of the snapshot files in the folder, oldest first.
std::vector<uint64_t> SnapshotNumbers(FolderPort& folders, const std::string& folder) {
    std::vector<uint64_t> numbers;
    for (const std::string& name : folders.FileNames(folder)) {
        if (auto number = NumberOf(name)) {
            numbers.push_back(*number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool KeyExists(RegistryPort& registry, const std::string& path) {
    RegistryKey key = 0;
    if (registry.OpenKey(kRoot, path, &key) != kErrorSuccess) {
        return false;
    }
    registry.CloseKey(key);
    return true;
}

// Records the missing key and every missing key above it, each after its parent and
// once, however its path is spelt.
void AddAbsentKeys(RegistryPort& registry, const std::string& path, Snapshot& snapshot,
                   std::set<std::string>& listed) {
    std::vector<std::string> missing{path};
    for (size_t slash = path.rfind('\\'); slash != std::string::npos && slash > 0;
         slash = path.rfind('\\', slash - 1)) {
        std::string parent = path.substr(0, slash);
        if (KeyExists(registry, parent)) {
            break;
        }
        missing.push_back(parent);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (listed.insert(Lower(*it)).second) {
            snapshot.absent_keys.push_back(*it);
        }
    }
}

// An adapter removed since gets no key of Zorvane's making back: its values are not put
// back, though the ones Zorvane wrote are removed (which opens, never creates, a key).
bool PutBack(RegistryPort& registry, const Snapshot::Value& value) {
    RegistryKey key = 0;
    if (value.value) {
        std::string adapter_key;
        IsCatalogueValue(value.key, value.name, &adapter_key);
        if (!adapter_key.empty() && !KeyExists(registry, adapter_key)) {
            return true;
        }
        if (registry.CreateKey(kRoot, value.key, &key) != kErrorSuccess) {
            return false;
        }
        int32_t result = registry.SetValue(key, value.name, value.value->kind, value.value->data);
        registry.CloseKey(key);
        return result == kErrorSuccess;
    }
    int32_t opened = registry.OpenKey(kRoot, value.key, &key);
    if (opened != kErrorSuccess) {
        return opened == kErrorFileNotFound;
    }
    int32_t result = registry.DeleteValue(key, value.name);
    registry.CloseKey(key);
    return result == kErrorSuccess || result == kErrorFileNotFound;
}

// A key the change created goes again, but only while nothing else has been put in it.
bool RemoveIfEmpty(RegistryPort& registry, const std::string& path) {
    RegistryKey key = 0;
    int32_t opened = registry.OpenKey(kRoot, path, &key);
    if (opened != kErrorSuccess) {
        return opened == kErrorFileNotFound;
    }
    uint32_t subkeys = 0;
    uint32_t values = 0;
    int32_t counted = registry.CountEntries(key, &subkeys, &values);
    registry.CloseKey(key);
    if (counted != kErrorSuccess) {
        return false;
    }
    return subkeys != 0 || values != 0 || registry.DeleteKey(kRoot, path) == kErrorSuccess;
}

// "TcpAckFrequency in SYSTEM\...\Interfaces: 1", as Undo names a stack value the
// registry holds: a DWORD as its number, text as it is, anything else by its size.
std::string StackRegistryRow(const Snapshot::Value& value) {
    std::string shown = "removed";
    if (value.value) {
        const std::string& data = value.value->data;
        if (value.value->kind == kRegDword && data.size() == 4) {
            uint32_t number = 0;
            for (int i = 3; i >= 0; --i) {
                number = number << 8 | static_cast<unsigned char>(data[i]);
            }
            shown = std::to_string(number);
        } else if (value.value->kind == kRegSz) {
            shown = "\"" + data.substr(0, data.find('\0')) + "\"";
        } else {
            shown = std::to_string(data.size()) + " bytes";
        }
    }
    return value.name + " in " + value.key + ": " + shown;
}

// Every value and stack row is tried, so that the result names each one not put back. The
// stack's values that the registry holds are named with the stack's rows.
void PutRegistryBack(SnapshotPorts ports, const Snapshot& snapshot, UndoResult& result) {
    for (const Snapshot::Value& value : snapshot.values) {
        bool back = PutBack(ports.registry, value);
        result.values_refused = !back || result.values_refused;
        if (ports.stack != nullptr && ports.stack->KnowsRegistryValue(value.key, value.name)) {
            (back ? result.stack_back : result.stack_not_back)
                .push_back(StackRegistryRow(value) + (back ? "" : " (refused by the registry)"));
        }
    }
    for (const Snapshot::StackValue& value : snapshot.stack_values) {
        StackPutBack put = ports.stack->PutBack(value);
        if (put.failure.empty()) {
            result.stack_back.push_back(put.row);
        } else {
            result.stack_not_back.push_back(put.row + " (" + put.failure + ")");
        }
    }
    for (auto key = snapshot.absent_keys.rbegin(); key != snapshot.absent_keys.rend(); ++key) {
        result.values_refused = !RemoveIfEmpty(ports.registry, *key) || result.values_refused;
    }
    if (result.values_refused || !result.stack_not_back.empty()) {
        result.outcome = UndoOutcome::RegistryRefused;
    }
}

bool PutSettingsFileBack(SnapshotPorts ports, const std::string& path,
                         const std::optional<std::string>& bytes) {
    return bytes ? ports.files.WriteFileAtomic(path, *bytes) : ports.folders.RemoveFile(path);
}

// Undo puts back only what Zorvane writes: a snapshot naming anything else (a Run entry,
// say) was not written by Zorvane and is not trusted with the registry.
std::optional<std::string> OutsideCatalogue(const Snapshot& snapshot, StackUndoPort* stack) {
    for (const Snapshot::StackValue& value : snapshot.stack_values) {
        if (stack == nullptr || !stack->Knows(value)) {
            return "it names a network stack setting Zorvane does not change: " + value.setting +
                   " " + value.instance;
        }
    }
    for (const std::string& key : snapshot.absent_keys) {
        if (!IsCatalogueKeyOrAbove(key)) {
            return "it names a key Zorvane does not write: " + key;
        }
    }
    std::string adapter_key;
    for (const Snapshot::Value& value : snapshot.values) {
        if (!IsCatalogueValue(value.key, value.name, &adapter_key) &&
            (stack == nullptr || !stack->KnowsRegistryValue(value.key, value.name))) {
            return "it names a value Zorvane does not write: " + value.key + "\\" + value.name;
        }
    }
    return std::nullopt;
}

struct ReadSnapshot {
    std::optional<Snapshot> snapshot;
    std::string reason;  // why it was refused
};

ReadSnapshot Read(SnapshotPorts ports, const std::string& path) {
    ReadSnapshot read;
    std::optional<std::string> text = ports.files.ReadFile(path);
    read.reason = "it could not be read";
    read.snapshot = text ? ParseSnapshot(*text, &read.reason) : std::nullopt;
    if (read.snapshot) {
        if (std::optional<std::string> outside = OutsideCatalogue(*read.snapshot, ports.stack)) {
            read.reason = *outside;
            read.snapshot.reset();
        }
    }
    return read;
}

UndoResult PutSnapshotBack(SnapshotPorts ports, const std::string& program_directory,
                           const Snapshot& snapshot, const std::string& path) {
    if (!PutSettingsFileBack(ports, program_directory + kSettingsFileName,
                             snapshot.settings_file)) {
        return {UndoOutcome::FileNotWritten, path, ""};
    }
    UndoResult result{UndoOutcome::Undone, path, ""};
    PutRegistryBack(ports, snapshot, result);
    return result;
}

// Adds the rows the older snapshot does not name (an adapter added since), as the older
// value of a row wins; the keys either found absent were made by Zorvane. True when it
// added any.
bool AddStackValuesNotYetNamed(Snapshot& merged, const Snapshot& newer) {
    std::set<std::pair<std::string, std::string>> named;
    for (const Snapshot::StackValue& value : merged.stack_values) {
        named.insert({value.setting, value.instance});
    }
    size_t before = merged.stack_values.size();
    for (const Snapshot::StackValue& value : newer.stack_values) {
        if (named.insert({value.setting, value.instance}).second) {
            merged.stack_values.push_back(value);
        }
    }
    return merged.stack_values.size() != before;
}

bool AddRowsNotYetNamed(Snapshot& merged, const Snapshot& newer) {
    bool stack_added = AddStackValuesNotYetNamed(merged, newer);
    size_t rows = merged.values.size() + merged.absent_keys.size();
    std::set<std::string> values;
    std::set<std::string> keys;
    for (const Snapshot::Value& value : merged.values) {
        values.insert(Lower(value.key + "\\" + value.name));
    }
    for (const std::string& key : merged.absent_keys) {
        keys.insert(Lower(key));
    }
    for (const Snapshot::Value& value : newer.values) {
        if (values.insert(Lower(value.key + "\\" + value.name)).second) {
            merged.values.push_back(value);
        }
    }
    for (const std::string& key : newer.absent_keys) {
        if (keys.insert(Lower(key)).second) {
            merged.absent_keys.push_back(key);
        }
    }
    return stack_added || merged.values.size() + merged.absent_keys.size() != rows;
}

// The first snapshot holds every value as it was before Zorvane first wrote it: made from
// the oldest snapshot when a folder predates it, and given the rows of each adapter
// added since. A damaged one is left for Undo All Changes to refuse.
bool UpdateFirstSnapshot(SnapshotPorts ports, const std::string& program_directory,
                         const std::vector<uint64_t>& older, const Snapshot& newest) {
    std::string first = FirstSnapshotPath(program_directory);
    bool exists = ports.files.FileExists(first);
    std::optional<std::string> text =
        exists ? ports.files.ReadFile(first)
        : older.empty()
            ? std::nullopt
            : ports.files.ReadFile(FolderOf(program_directory) + "\\" + NameOf(older.front()));
    std::string reason;
    std::optional<Snapshot> snapshot = text ? ParseSnapshot(*text, &reason) : std::nullopt;
    if (exists && !snapshot) {
        return true;
    }
    if (!snapshot) {
        snapshot = newest;
    }
    bool added = AddRowsNotYetNamed(*snapshot, newest);
    return (exists && !added) || ports.files.WriteFileAtomic(first, FormatSnapshot(*snapshot));
}

bool IsKeyOrAbove(const std::string& key, const std::string& value_key) {
    std::string above = Lower(key);
    std::string below = Lower(value_key);
    return below == above ||
           (below.size() > above.size() && below.compare(0, above.size(), above) == 0 &&
            below[above.size()] == '\\');
}

// The snapshot with only the rows given (of those it holds), and the absent keys above
// them.
Snapshot OnlyRows(const Snapshot& snapshot, const std::vector<CatalogueRow>& rows,
                  const std::vector<Snapshot::StackValue>& stack_values) {
    Snapshot only;
    only.settings_file = snapshot.settings_file;
    only.stack_values = stack_values;
    for (const Snapshot::Value& value : snapshot.values) {
        if (std::any_of(rows.begin(), rows.end(), [&](const CatalogueRow& row) {
                return Lower(row.key) == Lower(value.key) &&
                       Lower(row.entry->value_name) == Lower(value.name);
            })) {
            only.values.push_back(value);
        }
    }
    for (const std::string& key : snapshot.absent_keys) {
        if (std::any_of(only.values.begin(), only.values.end(), [&](const Snapshot::Value& value) {
                return IsKeyOrAbove(key, value.key);
            })) {
            only.absent_keys.push_back(key);
        }
    }
    return only;
}

}  // namespace

std::optional<Snapshot> TakeSnapshot(SnapshotPorts ports, const std::string& program_directory,
                                     const std::vector<CatalogueRow>& rows) {
    Snapshot snapshot;
    std::set<std::string> listed_keys;
    RegistryReader reader(ports.registry, kRoot);
    for (const CatalogueRow& row : rows) {
        RegistryReader::Read read = reader.Value(row.key, row.entry->value_name);
        if (read.error != kErrorSuccess && read.error != kErrorFileNotFound) {
            return std::nullopt;
        }
        if (!read.key_found) {
            AddAbsentKeys(ports.registry, row.key, snapshot, listed_keys);
        }
        snapshot.values.push_back({row.key, row.entry->value_name, read.value});
    }
    std::string settings_path = program_directory + kSettingsFileName;
    if (ports.files.FileExists(settings_path)) {
        snapshot.settings_file = ports.files.ReadFile(settings_path);
        if (!snapshot.settings_file) {
            return std::nullopt;
        }
    }
    return snapshot;
}

RecordedSnapshot RecordSnapshot(SnapshotPorts ports, const std::string& program_directory,
                                const std::vector<CatalogueRow>& rows,
                                const std::vector<Snapshot::StackValue>& stack_values) {
    std::optional<Snapshot> snapshot = TakeSnapshot(ports, program_directory, rows);
    if (!snapshot) {
        return {SnapshotRecord::ValuesUnreadable, ""};
    }
    snapshot->stack_values = stack_values;
    std::string folder = FolderOf(program_directory);
    if (!ports.folders.CreateFolder(folder)) {
        return {SnapshotRecord::NotWritten, ""};
    }
    std::vector<uint64_t> numbers = SnapshotNumbers(ports.folders, folder);
    uint64_t next = numbers.empty() ? 1 : numbers.back() + 1;
    RecordedSnapshot recorded{SnapshotRecord::Recorded, folder + "\\" + NameOf(next), next,
                              *snapshot};
    if (!ports.files.WriteFileAtomic(recorded.path, FormatSnapshot(*snapshot))) {
        return {SnapshotRecord::NotWritten, ""};
    }
    return recorded;
}

void DiscardSnapshot(FolderPort& folders, const RecordedSnapshot& snapshot) {
    if (!snapshot.path.empty()) {
        folders.RemoveFile(snapshot.path);
    }
}

// The first snapshot of a folder that predates it is its oldest, the earliest state known.
bool KeepSnapshot(SnapshotPorts ports, const std::string& program_directory,
                  const RecordedSnapshot& recorded, const std::vector<CatalogueRow>& rows,
                  const std::vector<Snapshot::StackValue>& stack_values) {
    Snapshot changed = OnlyRows(recorded.snapshot, rows, stack_values);
    bool written = changed == recorded.snapshot ||
                   ports.files.WriteFileAtomic(recorded.path, FormatSnapshot(changed));
    std::vector<uint64_t> older = SnapshotNumbers(ports.folders, FolderOf(program_directory));
    older.erase(std::remove_if(older.begin(), older.end(),
                               [&](uint64_t number) { return number >= recorded.number; }),
                older.end());
    written = UpdateFirstSnapshot(ports, program_directory, older, changed) && written;
    // A caller told of a failure may still remove this snapshot: nothing older goes first.
    if (written) {
        PruneSnapshots(ports.folders, program_directory);
    }
    return written;
}

void PruneSnapshots(FolderPort& folders, const std::string& program_directory) {
    std::string folder = FolderOf(program_directory);
    std::vector<uint64_t> numbers = SnapshotNumbers(folders, folder);
    for (size_t i = 0; i + kSnapshotsKept < numbers.size(); ++i) {
        folders.RemoveFile(folder + "\\" + NameOf(numbers[i]));
    }
}

std::optional<std::string> NewestSnapshot(FolderPort& folders,
                                          const std::string& program_directory) {
    std::string folder = FolderOf(program_directory);
    std::vector<uint64_t> numbers = SnapshotNumbers(folders, folder);
    if (numbers.empty()) {
        return std::nullopt;
    }
    return folder + "\\" + NameOf(numbers.back());
}

std::string FirstSnapshotPath(const std::string& program_directory) {
    return FolderOf(program_directory) + kFirstName;
}

UndoResult UndoLastChange(SnapshotPorts ports, const std::string& program_directory) {
    std::optional<std::string> path = NewestSnapshot(ports.folders, program_directory);
    if (!path) {
        return {UndoOutcome::NothingToUndo, "", ""};
    }
    ReadSnapshot read = Read(ports, *path);
    if (!read.snapshot) {
        return {UndoOutcome::Damaged, *path, read.reason};
    }
    UndoResult result = PutSnapshotBack(ports, program_directory, *read.snapshot, *path);
    if (result.outcome == UndoOutcome::Undone) {
        ports.folders.RemoveFile(*path);
    }
    return result;
}

UndoResult UndoAllChanges(SnapshotPorts ports, const std::string& program_directory) {
    std::string first = FirstSnapshotPath(program_directory);
    if (!ports.files.FileExists(first)) {
        return {UndoOutcome::NothingToUndo, "", ""};
    }
    ReadSnapshot read = Read(ports, first);
    if (!read.snapshot) {
        return {UndoOutcome::Damaged, first, read.reason};
    }
    UndoResult result = PutSnapshotBack(ports, program_directory, *read.snapshot, first);
    if (result.outcome == UndoOutcome::Undone) {
        std::string folder = FolderOf(program_directory);
        for (uint64_t number : SnapshotNumbers(ports.folders, folder)) {
            ports.folders.RemoveFile(folder + "\\" + NameOf(number));
        }
    }
    return result;
}

}  // namespace zv
