// Reading the registry back with advapi32 directly, never with the code under test, and
// making or removing scratch keys for a scenario.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zv::e2e {

struct RegistryValue {
    DWORD kind = REG_NONE;
    std::string data;  // the stored bytes (a REG_SZ includes its NUL)

    bool operator==(const RegistryValue& other) const {
        return kind == other.kind && data == other.data;
    }
    bool operator!=(const RegistryValue& other) const { return !(*this == other); }
};

// "REG_DWORD 1460", "REG_SZ \"128\\x00\"", ... for failure messages.
std::string Describe(const RegistryValue& value);
std::ostream& operator<<(std::ostream& out, const RegistryValue& value);

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& path,
                                               const std::string& name);
// The number of a REG_DWORD value; nothing for a missing value or another kind.
std::optional<DWORD> ReadDword(HKEY root, const std::string& path, const std::string& name);
// The text of a REG_SZ value without its NUL; nothing for a missing value or another kind.
std::optional<std::string> ReadString(HKEY root, const std::string& path, const std::string& name);

bool RegistryKeyExists(HKEY root, const std::string& path);
std::vector<std::string> SubkeyNames(HKEY root, const std::string& path);
bool CreateRegistryKey(HKEY root, const std::string& path);
// Sets a REG_DWORD value, making its key where there is none.
bool WriteDword(HKEY root, const std::string& path, const char* name, DWORD value);
bool DeleteRegistryTree(HKEY root, const std::string& path);

// Every key (with no value) and every value ("key\\name" -> value) under a key, with
// paths relative to the root: compare two to prove that something changed nothing.
using RegistrySnapshot = std::map<std::string, std::optional<RegistryValue>>;
RegistrySnapshot SnapshotRegistry(HKEY root, const std::string& path);

// One line per entry added, removed or changed between two snapshots.
std::vector<std::string> Differences(const RegistrySnapshot& before, const RegistrySnapshot& after);

}  // namespace zv::e2e
