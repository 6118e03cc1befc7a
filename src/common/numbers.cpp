#include "common/numbers.h"

#include <limits>

namespace zv {

std::optional<int64_t> ParseDecimal(std::string_view text, int64_t min, int64_t max) {
    bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    if (!IsAllDigits(text) || text.size() > 18) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
    }
    if (negative) {
        value = -value;
    }
    if (value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<int32_t> ParseInt32(std::string_view text) {
    auto value = ParseDecimal(text, std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<int32_t>::max());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*value);
}

std::optional<int16_t> ParseInt16(std::string_view text) {
    auto value = ParseDecimal(text, std::numeric_limits<int16_t>::min(),
                              std::numeric_limits<int16_t>::max());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<int16_t>(*value);
}

bool IsAllDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::string TrimBlanks(std::string_view text) {
    auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && is_blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

}  // namespace zv
