#include "ping/dotted_address.h"

#include "common/numbers.h"

namespace zv::ping {

namespace {

constexpr size_t kAddressParts = 4;

// A decimal number with optional blanks around it and an optional sign, such as " -12".
bool IsNumberLabel(std::string_view label) {
    std::string trimmed = TrimBlanks(label);
    std::string_view digits = trimmed;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        digits.remove_prefix(1);
    }
    return IsAllDigits(digits);
}

std::optional<uint8_t> ParseAddressPart(std::string_view part) {
    if (!IsAllDigits(part)) {
        return std::nullopt;
    }
    auto value = ParseDecimal(part, 0, 255);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(*value);
}

}  // namespace

bool IsDottedName(std::string_view host) {
    if (host.find('.') == std::string_view::npos) {
        return false;
    }
    while (true) {
        size_t dot = host.find('.');
        std::string_view label = host.substr(0, dot);
        if (!label.empty() && !IsNumberLabel(label)) {
            return true;
        }
        if (dot == std::string_view::npos) {
            return false;
        }
        host.remove_prefix(dot + 1);
    }
}

std::optional<uint32_t> ParseDottedAddress(std::string_view text) {
    uint32_t address = 0;
    size_t parts = 0;
    while (true) {
        size_t dot = text.find('.');
        auto part = ParseAddressPart(text.substr(0, dot));
        if (!part || parts == kAddressParts) {
            return std::nullopt;
        }
        address |= static_cast<uint32_t>(*part) << (8 * parts);
        ++parts;
        if (dot == std::string_view::npos) {
            break;
        }
        text.remove_prefix(dot + 1);
    }
    if (parts != kAddressParts) {
        return std::nullopt;
    }
    return address;
}

std::string AddressBytesToText(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (uint8_t byte : bytes) {
        if (!text.empty()) {
            text += '.';
        }
        text += std::to_string(byte);
    }
    return text;
}

}  // namespace zv::ping
