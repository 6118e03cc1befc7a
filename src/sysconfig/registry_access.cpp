#include "sysconfig/registry_access.h"

#include <optional>

#include "common/numbers.h"

namespace zv {
namespace {

std::string TextForm(const RegistryData& data) {
    if (const auto* number = std::get_if<int32_t>(&data)) {
        return std::to_string(*number);
    }
    return std::get<std::string>(data);
}

std::optional<int32_t> DwordForm(const RegistryData& data) {
    if (const auto* number = std::get_if<int32_t>(&data)) {
        return *number;
    }
    return ParseInt32(std::get<std::string>(data));
}

std::string LittleEndian(int32_t number) {
    auto bits = static_cast<uint32_t>(number);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
    return bytes;
}

int32_t WriteOrRemove(RegistryPort& registry, RegistryKey key, const std::string& value_name,
                      uint32_t kind, const RegistryData& data, bool remove_value) {
    if (kind == kRegSz) {
        if (remove_value) {
            return registry.DeleteValue(key, value_name);
        }
        return registry.SetValue(key, value_name, kRegSz, TextForm(data) + '\0');
    }
    if (kind == kRegDword) {
        auto number = DwordForm(data);
        if (remove_value || (number && *number == -1)) {
            return registry.DeleteValue(key, value_name);
        }
        if (!number) {
            return kErrorInvalidData;
        }
        return registry.SetValue(key, value_name, kRegDword, LittleEndian(*number));
    }
    return kErrorSuccess;
}

}  // namespace

int32_t SetRegistryValue(RegistryPort& registry, RegistryRoot root, const std::string& path,
                         const std::string& value_name, uint32_t kind, const RegistryData& data,
                         bool remove_value) {
    RegistryKey key = 0;
    int32_t result = registry.CreateKey(root, path, &key);
    if (result != kErrorSuccess) {
        return result;
    }
    result = WriteOrRemove(registry, key, value_name, kind, data, remove_value);
    registry.CloseKey(key);
    return result;
}

void EnumerateSubkeys(RegistryPort& registry, RegistryRoot root, const std::string& path,
                      const std::function<void(const std::string&)>& visit) {
    RegistryKey key = 0;
    if (registry.OpenKey(root, path, &key) != kErrorSuccess) {
        return;
    }
    std::string name;
    for (uint32_t index = 0; registry.EnumKey(key, index, &name) == kErrorSuccess; ++index) {
        visit(name);
    }
    registry.CloseKey(key);
}

}  // namespace zv
