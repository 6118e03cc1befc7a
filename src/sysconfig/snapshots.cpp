#include "sysconfig/snapshots.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "common/numbers.h"
#include "sysconfig/registry_access.h"
#include "sysconfig/settings_catalogue.h"
#include "sysconfig/settings_file.h"

namespace zv {
namespace {

constexpr char kNamePrefix[] = "snapshot-";
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

bool PutBack(RegistryPort& registry, const Snapshot::Value& value) {
    RegistryKey key = 0;
    if (value.value) {
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

bool PutRegistryBack(RegistryPort& registry, const Snapshot& snapshot) {
    bool all_back = true;
    for (const Snapshot::Value& value : snapshot.values) {
        all_back = PutBack(registry, value) && all_back;
    }
    for (auto key = snapshot.absent_keys.rbegin(); key != snapshot.absent_keys.rend(); ++key) {
        all_back = RemoveIfEmpty(registry, *key) && all_back;
    }
    return all_back;
}

bool PutSettingsFileBack(SnapshotPorts ports, const std::string& path,
                         const std::optional<std::string>& bytes) {
    return bytes ? ports.files.WriteFileAtomic(path, *bytes) : ports.folders.RemoveFile(path);
}

}  // namespace

std::optional<Snapshot> TakeSnapshot(SnapshotPorts ports, const std::string& program_directory,
                                     WindowsFamily family) {
    Snapshot snapshot;
    std::set<std::string> listed_keys;
    RegistryReader reader(ports.registry, kRoot);
    for (const CatalogueRow& row : CatalogueRows(ports.registry, family)) {
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

bool RecordSnapshot(SnapshotPorts ports, const std::string& program_directory,
                    WindowsFamily family) {
    std::optional<Snapshot> snapshot = TakeSnapshot(ports, program_directory, family);
    std::string folder = FolderOf(program_directory);
    if (!snapshot || !ports.folders.CreateFolder(folder)) {
        return false;
    }
    std::vector<uint64_t> numbers = SnapshotNumbers(ports.folders, folder);
    uint64_t next = numbers.empty() ? 1 : numbers.back() + 1;
    if (!ports.files.WriteFileAtomic(folder + "\\" + NameOf(next), FormatSnapshot(*snapshot))) {
        return false;
    }
    numbers.push_back(next);
    for (size_t i = 0; i + kSnapshotsKept < numbers.size(); ++i) {
        ports.folders.RemoveFile(folder + "\\" + NameOf(numbers[i]));
    }
    return true;
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

UndoResult UndoLastChange(SnapshotPorts ports, const std::string& program_directory) {
    std::optional<std::string> path = NewestSnapshot(ports.folders, program_directory);
    if (!path) {
        return {UndoOutcome::NothingToUndo, "", ""};
    }
    std::optional<std::string> text = ports.files.ReadFile(*path);
    std::string reason = "it could not be read";
    std::optional<Snapshot> snapshot = text ? ParseSnapshot(*text, &reason) : std::nullopt;
    if (!snapshot) {
        return {UndoOutcome::Damaged, *path, reason};
    }
    if (!PutSettingsFileBack(ports, program_directory + kSettingsFileName,
                             snapshot->settings_file)) {
        return {UndoOutcome::FileNotWritten, *path, ""};
    }
    if (!PutRegistryBack(ports.registry, *snapshot)) {
        return {UndoOutcome::RegistryRefused, *path, ""};
    }
    ports.folders.RemoveFile(*path);
    return {UndoOutcome::Undone, *path, ""};
}

}  // namespace zv
