#include "support/registry_read.h"

#include <ostream>

#include "support/check.h"

namespace zv::e2e {
namespace {

constexpr DWORD kLongestName = 16384;

// Closes a key when it goes out of scope.
class OpenKey {
  public:
    OpenKey(HKEY root, const std::string& path) {
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~OpenKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

std::vector<std::string> ValueNames(HKEY key) {
    std::vector<std::string> names;
    std::string name(kLongestName, '\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = kLongestName;
        if (RegEnumValueA(key, index, &name[0], &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return names;
        }
        names.push_back(name.substr(0, length));
    }
}

void Snapshot(HKEY root, const std::string& path, RegistrySnapshot& snapshot) {
    snapshot[path] = std::nullopt;
    {
        OpenKey key(root, path);
        if (key.get() == nullptr) {
            return;
        }
        for (const auto& name : ValueNames(key.get())) {
            snapshot[path + "\\" + name] = ReadRegistryValue(root, path, name);
        }
    }
    for (const auto& subkey : SubkeyNames(root, path)) {
        Snapshot(root, path + "\\" + subkey, snapshot);
    }
}

std::string Entry(const std::optional<RegistryValue>& value) {
    return value ? Describe(*value) : "(key)";
}

}  // namespace

std::string Describe(const RegistryValue& value) {
    if (value.kind == REG_DWORD && value.data.size() == 4) {
        DWORD number = 0;
        memcpy(&number, value.data.data(), 4);
        return "REG_DWORD " + std::to_string(number);
    }
    std::string kind = value.kind == REG_SZ ? "REG_SZ" : "kind " + std::to_string(value.kind);
    return kind + " " + Escape(value.data);
}

std::ostream& operator<<(std::ostream& out, const RegistryValue& value) {
    return out << Describe(value);
}

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& path,
                                               const std::string& name) {
    OpenKey key(root, path);
    DWORD kind = 0;
    DWORD size = 0;
    if (key.get() == nullptr || RegQueryValueExA(key.get(), name.c_str(), nullptr, &kind, nullptr,
                                                 &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegistryValue value{kind, std::string(size, '\0')};
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &kind,
                         reinterpret_cast<BYTE*>(&value.data[0]), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

std::optional<DWORD> ReadDword(HKEY root, const std::string& path, const std::string& name) {
    auto value = ReadRegistryValue(root, path, name);
    if (!value || value->kind != REG_DWORD || value->data.size() != 4) {
        return std::nullopt;
    }
    DWORD number = 0;
    memcpy(&number, value->data.data(), 4);
    return number;
}

std::optional<std::string> ReadString(HKEY root, const std::string& path, const std::string& name) {
    auto value = ReadRegistryValue(root, path, name);
    if (!value || value->kind != REG_SZ) {
        return std::nullopt;
    }
    std::string text = value->data;
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

bool RegistryKeyExists(HKEY root, const std::string& path) {
    return OpenKey(root, path).get() != nullptr;
}

std::vector<std::string> SubkeyNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    OpenKey key(root, path);
    if (key.get() == nullptr) {
        return names;
    }
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return names;
        }
        names.emplace_back(name, length);
    }
}

bool WriteDword(HKEY root, const std::string& path, const char* name, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    bool written = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                  sizeof value) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

bool CreateRegistryKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool DeleteRegistryTree(HKEY root, const std::string& path) {
    for (const auto& subkey : SubkeyNames(root, path)) {
        DeleteRegistryTree(root, path + "\\" + subkey);
    }
    LONG result = RegDeleteKeyA(root, path.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

RegistrySnapshot SnapshotRegistry(HKEY root, const std::string& path) {
    RegistrySnapshot snapshot;
    Snapshot(root, path, snapshot);
    return snapshot;
}

std::vector<std::string> Differences(const RegistrySnapshot& before,
                                     const RegistrySnapshot& after) {
    std::vector<std::string> lines;
    for (const auto& [path, value] : before) {
        auto now = after.find(path);
        if (now == after.end()) {
            lines.push_back("removed " + path + " (" + Entry(value) + ")");
        } else if (now->second != value) {
            lines.push_back("changed " + path + ": " + Entry(value) + " -> " + Entry(now->second));
        }
    }
    for (const auto& [path, value] : after) {
        if (before.count(path) == 0) {
            lines.push_back("added " + path + " (" + Entry(value) + ")");
        }
    }
    return lines;
}

}  // namespace zv::e2e
