// Text-to-number rules shared by the files and text boxes: plain decimal numbers only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zv {

// An optional "-" followed by one or more decimal digits, nothing else (no blanks, no
// "+"), that fits the range [min, max]. Leading zeros are allowed, as many as there are.
std::optional<int64_t> ParseDecimal(std::string_view text, int64_t min, int64_t max);

std::optional<int32_t> ParseInt32(std::string_view text);
std::optional<int16_t> ParseInt16(std::string_view text);

// True when the text is one or more decimal digits and nothing else.
bool IsAllDigits(std::string_view text);

// A space or a tab.
bool IsBlank(char c);

// The text with blanks (spaces and tabs) removed at both ends.
std::string TrimBlanks(std::string_view text);

}  // namespace zv
