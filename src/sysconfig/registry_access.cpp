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

PlannedWrite Store(uint32_t kind, std::string data) {
    return {PlannedWrite::Action::Store, {kind, std::move(data)}};
}

}  // namespace

std::string DwordBytes(uint32_t number) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
    }
    return bytes;
}

uint32_t DwordOf(const std::string& bytes) {
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) {
        number = (number << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return number;
}

bool IsPlainDword(const RegistryValue& value) {
    return value.kind == kRegDword && value.data.size() == 4;
}

bool IsPlainText(const RegistryValue& value) {
    return value.kind == kRegSz && !value.data.empty() && value.data.back() == '\0';
}

std::string HexBytes(const std::string& data, const char* separator) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (char c : data) {
        auto byte = static_cast<unsigned char>(c);
        if (!out.empty()) {
            out += separator;
        }
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0xF];
    }
    return out;
}

PlannedWrite PlanRegistryWrite(uint32_t kind, const RegistryData& data, bool remove_value) {
    using Action = PlannedWrite::Action;
    if (kind == kRegSz) {
        return remove_value ? PlannedWrite{Action::Remove, {}}
                            : Store(kRegSz, TextForm(data) + '\0');
    }
    if (kind == kRegDword) {
        auto number = DwordForm(data);
        if (remove_value || (number && *number == -1)) {
            return {Action::Remove, {}};
        }
        if (!number) {
            return {Action::Refuse, {}};
        }
        return Store(kRegDword, DwordBytes(static_cast<uint32_t>(*number)));
    }
    return {};
}

int32_t SetRegistryValue(RegistryPort& registry, RegistryRoot root, const std::string& path,
                         const std::string& value_name, uint32_t kind, const RegistryData& data,
                         bool remove_value) {
    PlannedWrite write = PlanRegistryWrite(kind, data, remove_value);
    // A removal opens the key: creating it would leave a key behind that was not there.
    bool removal = write.action == PlannedWrite::Action::Remove;
    RegistryKey key = 0;
    int32_t result =
        removal ? registry.OpenKey(root, path, &key) : registry.CreateKey(root, path, &key);
    if (result != kErrorSuccess) {
        return result;
    }
    switch (write.action) {
        case PlannedWrite::Action::Store:
            result = registry.SetValue(key, value_name, write.value.kind, write.value.data);
            break;
        case PlannedWrite::Action::Remove:
            result = registry.DeleteValue(key, value_name);
            break;
        case PlannedWrite::Action::Refuse:
            result = kErrorInvalidData;
            break;
        case PlannedWrite::Action::Nothing:
            break;
    }
    registry.CloseKey(key);
    return result;
}

RegistryReader::RegistryReader(RegistryPort& registry, RegistryRoot root)
    : registry_(registry), root_(root) {}

RegistryReader::~RegistryReader() {
    Close();
}

void RegistryReader::Close() {
    if (is_open_) {
        registry_.CloseKey(key_);
        is_open_ = false;
    }
}

RegistryReader::Read RegistryReader::Value(const std::string& path, const std::string& value_name) {
    if (!tried_ || path != open_path_) {
        tried_ = true;
        Close();
        open_path_ = path;
        open_error_ = registry_.OpenKey(root_, path, &key_);
        is_open_ = open_error_ == kErrorSuccess;
    }
    Read read;
    read.key_found = is_open_;
    read.error = open_error_;
    if (is_open_) {
        RegistryValue value;
        read.error = registry_.QueryValue(key_, value_name, &value.kind, &value.data);
        if (read.error == kErrorSuccess) {
            read.value = std::move(value);
        }
    }
    return read;
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
