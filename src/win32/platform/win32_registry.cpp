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

}  // namespace zv::win32
