// The two registry operations all tuning writes go through: write-or-remove one value,
// and visit the direct subkeys of a key.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

#include "sysconfig/registry_port.h"

namespace zv {

using RegistryData = std::variant<int32_t, std::string>;

// Opens (creating) the key, then writes the value or removes it, and returns the error
// code of the last call. REG_SZ stores the text form of `data`; REG_DWORD stores it as a
// 32-bit integer and removes the value instead when that integer is -1 (NotSet), so -1 is
// never stored. Other kinds write nothing and return 0. Text that is not a 32-bit number
// is refused for REG_DWORD with ERROR_INVALID_DATA.
int32_t SetRegistryValue(RegistryPort& registry, RegistryRoot root, const std::string& path,
                         const std::string& value_name, uint32_t kind, const RegistryData& data,
                         bool remove_value);

// Calls `visit` with the name of each direct subkey, in the registry's order. A key that
// cannot be opened visits nothing; enumeration stops at the first failure.
void EnumerateSubkeys(RegistryPort& registry, RegistryRoot root, const std::string& path,
                      const std::function<void(const std::string&)>& visit);

}  // namespace zv
