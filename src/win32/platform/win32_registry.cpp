#include "win32/platform/win32_registry.h"

#include <windows.h>

namespace zv::win32 {
namespace {

constexpr DWORD kNameBufferLength = 255;

HKEY RootHandle(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HKEY Handle(RegistryKey key) {
    return reinterpret_cast<HKEY>(key);
}

RegistryKey Key(HKEY handle) {
    return reinterpret_cast<RegistryKey>(handle);
}

}  // namespace

int32_t Win32Registry::CreateKey(RegistryRoot root, const std::string& path, RegistryKey* key) {
    HKEY handle = nullptr;
    LONG result = RegCreateKeyExA(RootHandle(root), path.c_str(), 0, nullptr, 0, access_.create,
                                  nullptr, &handle, nullptr);
    if (result == ERROR_SUCCESS) {
        *key = Key(handle);
    }
    return result;
}

int32_t Win32Registry::SetValue(RegistryKey key, const std::string& name, uint32_t kind,
                                const std::string& data) {
    return RegSetValueExA(Handle(key), name.c_str(), 0, kind,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
}

int32_t Win32Registry::DeleteValue(RegistryKey key, const std::string& name) {
    return RegDeleteValueA(Handle(key), name.c_str());
}

int32_t Win32Registry::OpenKey(RegistryRoot root, const std::string& path, RegistryKey* key) {
    HKEY handle = nullptr;
    LONG result = RegOpenKeyExA(RootHandle(root), path.c_str(), 0, access_.open, &handle);
    if (result == ERROR_SUCCESS) {
        *key = Key(handle);
    }
    return result;
}

int32_t Win32Registry::EnumKey(RegistryKey key, uint32_t index, std::string* name) {
    char buffer[kNameBufferLength];
    DWORD length = kNameBufferLength;
    LONG result =
        RegEnumKeyExA(Handle(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
        name->assign(buffer, length);
    }
    return result;
}

int32_t Win32Registry::CloseKey(RegistryKey key) {
    return RegCloseKey(Handle(key));
}

// The values the program reads are a few bytes long; a larger one takes a second call
// with the size Windows asked for.
int32_t Win32Registry::QueryValue(RegistryKey key, const std::string& name, uint32_t* kind,
                                  std::string* data) {
    DWORD type = REG_NONE;
    char small[64];
    DWORD size = sizeof(small);
    LONG result = RegQueryValueExA(Handle(key), name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(small), &size);
    if (result == ERROR_SUCCESS) {
        data->assign(small, size);
    } else if (result == ERROR_MORE_DATA) {
        std::string large(size, '\0');
        result = RegQueryValueExA(Handle(key), name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&large[0]), &size);
        large.resize(size);
        *data = std::move(large);
    }
    *kind = type;
    return result;
}

int32_t Win32Registry::CountEntries(RegistryKey key, uint32_t* subkeys, uint32_t* values) {
    DWORD subkey_count = 0;
    DWORD value_count = 0;
    LONG result = RegQueryInfoKeyA(Handle(key), nullptr, nullptr, nullptr, &subkey_count, nullptr,
                                   nullptr, &value_count, nullptr, nullptr, nullptr, nullptr);
    *subkeys = subkey_count;
    *values = value_count;
    return result;
}

// RegDeleteKeyA names no registry view, so the key goes through its parent, opened in the
// view every other call names; RegDeleteKeyExA, which names one, is newer than the floor.
int32_t Win32Registry::DeleteKey(RegistryRoot root, const std::string& path) {
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) {
        return RegDeleteKeyA(RootHandle(root), path.c_str());
    }
    RegistryKey parent = 0;
    int32_t result = OpenKey(root, path.substr(0, slash), &parent);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    result = RegDeleteKeyA(Handle(parent), path.substr(slash + 1).c_str());
    CloseKey(parent);
    return result;
}

}  // namespace zv::win32
