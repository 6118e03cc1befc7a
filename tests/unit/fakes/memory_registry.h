// An in-memory registry with the behaviour the writer relies on: case-insensitive key and
// value names, subkeys enumerated in creation order, Windows' error codes, and switches
// that refuse writes as Windows does for a user without administrator rights.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sysconfig/registry_port.h"

namespace zv::testing {

struct StoredValue {
    uint32_t kind = 0;
    std::string data;
};

class MemoryRegistry : public RegistryPort {
  public:
    bool writes_fail = false;              // every CreateKey and DeleteValue refused with 5
    std::set<std::string> read_only_keys;  // keys (any case) refused the same way
    std::set<std::string> unreadable;      // "key\name", lower case: its read is refused
    std::vector<std::string> log;          // "set <key>\<name>" and "delete <key>\<name>"

    int32_t CreateKey(RegistryRoot root, const std::string& path, RegistryKey* key) override;
    int32_t SetValue(RegistryKey key, const std::string& name, uint32_t kind,
                     const std::string& data) override;
    int32_t DeleteValue(RegistryKey key, const std::string& name) override;
    int32_t OpenKey(RegistryRoot root, const std::string& path, RegistryKey* key) override;
    int32_t EnumKey(RegistryKey key, uint32_t index, std::string* name) override;
    int32_t CloseKey(RegistryKey key) override;
    int32_t QueryValue(RegistryKey key, const std::string& name, uint32_t* kind,
                       std::string* data) override;
    int32_t CountEntries(RegistryKey key, uint32_t* subkeys, uint32_t* values) override;
    int32_t DeleteKey(RegistryRoot root, const std::string& path) override;

    // Test set-up and inspection, all under HKEY_LOCAL_MACHINE.
    void AddKey(const std::string& path);
    bool HasKey(const std::string& path) const;
    std::optional<StoredValue> Value(const std::string& path, const std::string& name) const;
    std::optional<uint32_t> Dword(const std::string& path, const std::string& name) const;
    void Put(const std::string& path, const std::string& name, uint32_t kind,
             const std::string& data);
    size_t KeyCount() const { return keys_.size(); }
    size_t ValueCount() const;
    size_t OpenHandles() const { return handles_.size(); }
    // Every key and value under HKEY_LOCAL_MACHINE, one line each, to compare two states.
    std::string Dump() const;

  private:
    struct Key {
        std::string name;                           // as created, for enumeration
        std::vector<std::string> children;          // full lowered paths, in creation order
        std::map<std::string, StoredValue> values;  // by lowered name
    };

    std::string FullPath(RegistryRoot root, const std::string& path) const;
    std::string Create(const std::string& full_path);
    RegistryKey NewHandle(const std::string& full_path);
    Key* KeyOf(RegistryKey key);
    bool IsReadOnly(const std::string& full_path) const;

    std::map<std::string, Key> keys_;  // by lowered full path ("hklm\system\...")
    std::map<RegistryKey, std::string> handles_;
    RegistryKey next_handle_ = 0x100;
};

}  // namespace zv::testing
