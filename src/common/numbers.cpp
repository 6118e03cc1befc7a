#include "common/numbers.h"

#include <limits>

namespace zv {
namespace {

// The magnitude of a run of digits, or nothing when it passes what 64 bits hold. Leading
// zeros add nothing, so a hand-edited "0000…5" reads as 5 however many zeros it has.
std::optional<uint64_t> Magnitude(std::string_view digits) {
    uint64_t magnitude = 0;
    for (char c : digits) {
        uint64_t digit = static_cast<uint64_t>(c - '0');
        if (magnitude > (std::numeric_limits<uint64_t>::max() - digit) / 10) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + digit;
    }
    return magnitude;
}

}  // namespace

std::optional<int64_t> ParseDecimal(std::string_view text, int64_t min, int64_t max) {
    bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    if (!IsAllDigits(text)) {
        return std::nullopt;
    }
    std::optional<uint64_t> magnitude = Magnitude(text);
    constexpr uint64_t kLargest = std::numeric_limits<int64_t>::max();
    if (!magnitude || *magnitude > kLargest + (negative ? 1 : 0)) {
        return std::nullopt;
    }
    int64_t value;
    if (*magnitude > kLargest) {  // only -2^63 gets here: its magnitude has no int64
        value = std::numeric_limits<int64_t>::min();
    } else {
        value = negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude);
    }
    if (value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

namespace {

template <typename T>
std::optional<T> ParseInRange(std::string_view text) {
    auto value = ParseDecimal(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<T>(*value);
}

}  // namespace

std::optional<int32_t> ParseInt32(std::string_view text) {
    return ParseInRange<int32_t>(text);
}

std::optional<int16_t> ParseInt16(std::string_view text) {
    return ParseInRange<int16_t>(text);
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

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

}  // namespace zv
