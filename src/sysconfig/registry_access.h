// The registry operations all tuning writes and reads go through: write-or-remove one
// value, read one back, and visit the direct subkeys of a key.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "sysconfig/registry_port.h"

namespace zv {

using RegistryData = std::variant<int32_t, std::string>;

// A value as the registry holds it: its kind and its bytes (a REG_SZ with its NUL).
struct RegistryValue {
    uint32_t kind = 0;
    std::string data;

    bool operator==(const RegistryValue& other) const {
        return kind == other.kind && data == other.data;
    }
    bool operator!=(const RegistryValue& other) const { return !(*this == other); }
};

// What SetRegistryValue does with its arguments, decided without a registry, so that a
// report or an export shows exactly what a write would leave.
struct PlannedWrite {
    enum class Action { Store, Remove, Refuse, Nothing };
    Action action = Action::Nothing;
    RegistryValue value;  // for Store
};
PlannedWrite PlanRegistryWrite(uint32_t kind, const RegistryData& data, bool remove_value);

// The four little-endian bytes a REG_DWORD stores, and back (`bytes` holds four).
std::string DwordBytes(uint32_t number);
uint32_t DwordOf(const std::string& bytes);
// True for a REG_DWORD of four bytes and a REG_SZ ending in its NUL: the values that read
// as a number and as text.
bool IsPlainDword(const RegistryValue& value);
bool IsPlainText(const RegistryValue& value);

// The bytes as two lower-case hex digits each, `separator` between them.
std::string HexBytes(const std::string& data, const char* separator);

// Opens (creating) the key and writes the value, or opens it (never creating it) and
// removes the value, and returns the error code of the last call: a removal from a key
// that is not there returns ERROR_FILE_NOT_FOUND. REG_SZ stores the text form of `data`; REG_DWORD
// stores it as a 32-bit integer and removes the value instead when that integer is -1 (NotSet), so
// -1 is never stored. Other kinds write nothing and return 0. Text that is not a 32-bit number is
// refused for REG_DWORD with ERROR_INVALID_DATA.
int32_t SetRegistryValue(RegistryPort& registry, RegistryRoot root, const std::string& path,
                         const std::string& value_name, uint32_t kind, const RegistryData& data,
                         bool remove_value);

// Reads values one after another, opening a key once for a run of values in it (the
// rows of a report or a snapshot come key by key).
class RegistryReader {
  public:
    struct Read {
        int32_t error = kErrorSuccess;  // of the open, or else of the read
        bool key_found = false;
        std::optional<RegistryValue> value;  // nothing when missing or unreadable
    };

    RegistryReader(RegistryPort& registry, RegistryRoot root);
    ~RegistryReader();
    RegistryReader(const RegistryReader&) = delete;
    RegistryReader& operator=(const RegistryReader&) = delete;

    Read Value(const std::string& path, const std::string& value_name);

  private:
    void Close();

    RegistryPort& registry_;
    RegistryRoot root_;
    bool tried_ = false;
    std::string open_path_;
    int32_t open_error_ = kErrorSuccess;
    RegistryKey key_ = 0;
    bool is_open_ = false;
};

// Calls `visit` with the name of each direct subkey, in the registry's order. A key that
// cannot be opened visits nothing; enumeration stops at the first failure.
void EnumerateSubkeys(RegistryPort& registry, RegistryRoot root, const std::string& path,
                      const std::function<void(const std::string&)>& visit);

}  // namespace zv
