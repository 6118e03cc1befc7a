// The registry services the program needs: the advapi32 calls the TCP/IP writer makes,
// and the reads and key removal that reports, snapshots and Undo add, each returning the
// Windows error code it got. The Win32 layer implements it over advapi32; tests use an
// in-memory registry.
#pragma once

#include <cstdint>
#include <string>

namespace zv {

enum class RegistryRoot { LocalMachine, CurrentUser };

// An open key, as the implementation hands it out; meaningful only to that implementation.
using RegistryKey = std::uintptr_t;

constexpr int32_t kErrorSuccess = 0;
constexpr int32_t kErrorFileNotFound = 2;
constexpr int32_t kErrorAccessDenied = 5;
constexpr int32_t kErrorInvalidData = 13;
constexpr int32_t kErrorNoMoreItems = 259;

constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegDword = 4;

class RegistryPort {
  public:
    virtual ~RegistryPort() = default;

    // RegCreateKeyExA with access 0x3F: opens the key, creating it and any missing
    // intermediate keys.
    virtual int32_t CreateKey(RegistryRoot root, const std::string& path, RegistryKey* key) = 0;

    // RegSetValueExA: `data` holds the value's bytes as stored (for REG_SZ the text and
    // its NUL, for REG_DWORD four little-endian bytes).
    virtual int32_t SetValue(RegistryKey key, const std::string& name, uint32_t kind,
                             const std::string& data) = 0;

    // RegDeleteValueA.
    virtual int32_t DeleteValue(RegistryKey key, const std::string& name) = 0;

    // RegOpenKeyA: opens an existing key.
    virtual int32_t OpenKey(RegistryRoot root, const std::string& path, RegistryKey* key) = 0;

    // RegEnumKeyExA with a 255-character name buffer: the name of the subkey at `index`.
    virtual int32_t EnumKey(RegistryKey key, uint32_t index, std::string* name) = 0;

    // RegCloseKey.
    virtual int32_t CloseKey(RegistryKey key) = 0;

    // RegQueryValueExA: the value's kind and stored bytes.
    virtual int32_t QueryValue(RegistryKey key, const std::string& name, uint32_t* kind,
                               std::string* data) = 0;

    // RegQueryInfoKeyA: how many subkeys and values the key holds.
    virtual int32_t CountEntries(RegistryKey key, uint32_t* subkeys, uint32_t* values) = 0;

    // RegDeleteKeyA of a key; callers delete only keys they found empty, since the 9x
    // registry would take a key's subkeys with it.
    virtual int32_t DeleteKey(RegistryRoot root, const std::string& path) = 0;
};

}  // namespace zv
