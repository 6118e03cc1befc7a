#include "fakes/memory_registry.h"

#include <algorithm>

#include "fakes/lower_case.h"

namespace zv::testing {
namespace {

std::string Parent(const std::string& path) {
    auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string LastPart(const std::string& path) {
    return path.substr(path.rfind('\\') + 1);
}

}  // namespace

std::string MemoryRegistry::FullPath(RegistryRoot root, const std::string& path) const {
    return (root == RegistryRoot::LocalMachine ? "HKLM\\" : "HKCU\\") + path;
}

bool MemoryRegistry::IsReadOnly(const std::string& full_path) const {
    for (const auto& key : read_only_keys) {
        if (Lower("HKLM\\" + key) == Lower(full_path)) {
            return true;
        }
    }
    return false;
}

std::string MemoryRegistry::Create(const std::string& full_path) {
    std::string lowered = Lower(full_path);
    if (keys_.count(lowered) == 0) {
        std::string parent = Parent(full_path);
        if (!parent.empty()) {
            keys_[Create(parent)].children.push_back(lowered);
        }
        keys_[lowered].name = LastPart(full_path);
    }
    return lowered;
}

RegistryKey MemoryRegistry::NewHandle(const std::string& full_path) {
    RegistryKey handle = next_handle_++;
    handles_[handle] = full_path;
    return handle;
}

MemoryRegistry::Key* MemoryRegistry::KeyOf(RegistryKey key) {
    auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : &keys_[it->second];
}

int32_t MemoryRegistry::CreateKey(RegistryRoot root, const std::string& path, RegistryKey* key) {
    std::string full = FullPath(root, path);
    if (writes_fail || IsReadOnly(full)) {
        return kErrorAccessDenied;
    }
    *key = NewHandle(Create(full));
    return kErrorSuccess;
}

int32_t MemoryRegistry::SetValue(RegistryKey key, const std::string& name, uint32_t kind,
                                 const std::string& data) {
    Key* target = KeyOf(key);
    if (target == nullptr) {
        return 6;  // ERROR_INVALID_HANDLE
    }
    log.push_back("set " + handles_[key] + "\\" + Lower(name));
    target->values[Lower(name)] = {kind, data};
    return kErrorSuccess;
}

int32_t MemoryRegistry::DeleteValue(RegistryKey key, const std::string& name) {
    Key* target = KeyOf(key);
    if (target == nullptr) {
        return 6;
    }
    // A key opened without the right to change it refuses as one never created.
    if (writes_fail || IsReadOnly(handles_[key])) {
        return kErrorAccessDenied;
    }
    log.push_back("delete " + handles_[key] + "\\" + Lower(name));
    return target->values.erase(Lower(name)) == 1 ? kErrorSuccess : kErrorFileNotFound;
}

int32_t MemoryRegistry::OpenKey(RegistryRoot root, const std::string& path, RegistryKey* key) {
    std::string lowered = Lower(FullPath(root, path));
    if (keys_.count(lowered) == 0) {
        return kErrorFileNotFound;
    }
    *key = NewHandle(lowered);
    return kErrorSuccess;
}

int32_t MemoryRegistry::EnumKey(RegistryKey key, uint32_t index, std::string* name) {
    Key* target = KeyOf(key);
    if (target == nullptr) {
        return 6;
    }
    if (index >= target->children.size()) {
        return kErrorNoMoreItems;
    }
    *name = keys_[target->children[index]].name;
    return kErrorSuccess;
}

int32_t MemoryRegistry::CloseKey(RegistryKey key) {
    return handles_.erase(key) == 1 ? kErrorSuccess : 6;
}

int32_t MemoryRegistry::QueryValue(RegistryKey key, const std::string& name, uint32_t* kind,
                                   std::string* data) {
    Key* target = KeyOf(key);
    if (target == nullptr) {
        return 6;
    }
    if (unreadable.count(handles_[key].substr(5) + "\\" + Lower(name)) != 0) {
        return kErrorAccessDenied;
    }
    auto value = target->values.find(Lower(name));
    if (value == target->values.end()) {
        return kErrorFileNotFound;
    }
    *kind = value->second.kind;
    *data = value->second.data;
    return kErrorSuccess;
}

int32_t MemoryRegistry::CountEntries(RegistryKey key, uint32_t* subkeys, uint32_t* values) {
    Key* target = KeyOf(key);
    if (target == nullptr) {
        return 6;
    }
    *subkeys = static_cast<uint32_t>(target->children.size());
    *values = static_cast<uint32_t>(target->values.size());
    return kErrorSuccess;
}

// As on NT: a key with subkeys is refused.
int32_t MemoryRegistry::DeleteKey(RegistryRoot root, const std::string& path) {
    std::string lowered = Lower(FullPath(root, path));
    auto key = keys_.find(lowered);
    if (writes_fail) {
        return kErrorAccessDenied;
    }
    if (key == keys_.end()) {
        return kErrorFileNotFound;
    }
    if (!key->second.children.empty()) {
        return kErrorAccessDenied;
    }
    log.push_back("delete key " + lowered);
    keys_.erase(key);
    auto& siblings = keys_[Lower(Parent(FullPath(root, path)))].children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), lowered), siblings.end());
    return kErrorSuccess;
}

std::string MemoryRegistry::Dump() const {
    std::string text;
    for (const auto& [path, key] : keys_) {
        text += path + "\n";
        for (const auto& [name, value] : key.values) {
            text += "  " + name + " " + std::to_string(value.kind) + " " + value.data + "\n";
        }
    }
    return text;
}

void MemoryRegistry::AddKey(const std::string& path) {
    Create("HKLM\\" + path);
}

bool MemoryRegistry::HasKey(const std::string& path) const {
    return keys_.count(Lower("HKLM\\" + path)) != 0;
}

std::optional<StoredValue> MemoryRegistry::Value(const std::string& path,
                                                 const std::string& name) const {
    auto key = keys_.find(Lower("HKLM\\" + path));
    if (key == keys_.end()) {
        return std::nullopt;
    }
    auto value = key->second.values.find(Lower(name));
    if (value == key->second.values.end()) {
        return std::nullopt;
    }
    return value->second;
}

std::optional<uint32_t> MemoryRegistry::Dword(const std::string& path,
                                              const std::string& name) const {
    auto value = Value(path, name);
    if (!value || value->kind != kRegDword || value->data.size() != 4) {
        return std::nullopt;
    }
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) {
        number = (number << 8) | static_cast<unsigned char>(value->data[i]);
    }
    return number;
}

void MemoryRegistry::Put(const std::string& path, const std::string& name, uint32_t kind,
                         const std::string& data) {
    keys_[Create("HKLM\\" + path)].values[Lower(name)] = {kind, data};
}

size_t MemoryRegistry::ValueCount() const {
    size_t count = 0;
    for (const auto& entry : keys_) {
        count += entry.second.values.size();
    }
    return count;
}

}  // namespace zv::testing
