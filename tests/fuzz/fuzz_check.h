// Checks for the fuzz targets: a broken invariant prints what was seen and aborts, so that
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zv::fuzz {

// Text with unprintable bytes as \xNN, so that a failure shows CRs and zeros.
inline std::string Escape(const std::string& text) {
    std::string shown = "\"";
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f && c != '\\' && c != '"') {
            shown += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\x%02X", c);
            shown += hex;
        }
    }
    return shown + "\"";
}

[[noreturn]] inline void Fail(const char* expression, const char* file, int line,
                              const std::string& seen) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, expression);
    if (!seen.empty()) {
        std::fprintf(stderr, "  seen: %s\n", seen.c_str());
    }
    std::abort();
}

}  // namespace zv::fuzz

// FUZZ_CHECK(condition) or FUZZ_CHECK(condition, text describing what was seen).
#define FUZZ_CHECK(condition, ...)                                                      \
    do {                                                                                \
        if (!(condition)) {                                                             \
            ::zv::fuzz::Fail(#condition, __FILE__, __LINE__, std::string(__VA_ARGS__)); \
        }                                                                               \
    } while (false)
