// Text in lower case, for comparing names as Windows does: without regard to case.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace zv::testing {

inline std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace zv::testing
