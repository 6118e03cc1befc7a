#include "support/check.h"

#include "support/screen.h"

namespace zv::e2e {

Tally::Tally() {
    // Output must not sit in a buffer when the sandbox ends a hung driver.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
}

Tally& Tally::Get() {
    static Tally tally;
    return tally;
}

void Tally::Fail(const char* file, int line, const std::string& message) {
    ++failed_;
    std::printf("%s:%d: FAILED: %s%s\n", file, line, ContextPrefix().c_str(), message.c_str());
    if (failed_ == 1 && report_screen_on_first_failure) {
        PrintWindowsOnScreen();
        RequestScreenshot("first-failure");
    }
}

std::string Tally::ContextPrefix() const {
    std::string prefix;
    for (const auto& context : contexts_) {
        prefix += context + ": ";
    }
    return prefix;
}

void Note(const std::string& text) {
    std::printf("note: %s%s\n", Tally::Get().ContextPrefix().c_str(), text.c_str());
}

int Finish() {
    const Tally& tally = Tally::Get();
    std::printf("%d passed, %d failed\n", tally.passed(), tally.failed());
    return tally.failed() == 0 && tally.passed() > 0 ? 0 : 1;
}

std::string Escape(const std::string& text) {
    std::string shown = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            shown += '\\';
            shown += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof(hex), "\\x%02X", c);
            shown += hex;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown + "\"";
}

bool CheckComparison(const Comparison& comparison, const char* expression, const char* file,
                     int line) {
    if (comparison.holds) {
        Tally::Get().Pass();
    } else {
        Tally::Get().Fail(file, line, std::string(expression) + ": saw " + comparison.seen);
    }
    return comparison.holds;
}

bool CheckTrue(bool condition, const char* expression, const char* file, int line) {
    if (condition) {
        Tally::Get().Pass();
    } else {
        Tally::Get().Fail(file, line, std::string(expression) + " is false");
    }
    return condition;
}

bool CheckText(const std::optional<std::string>& text, TextTest test, const std::string& part,
               const char* text_expression, const char* file, int line) {
    static const char* const kVerbs[] = {"contains", "lacks", "starts with", "ends with"};
    const std::string seen = text.value_or(std::string());
    const size_t at = seen.find(part);
    const size_t end = seen.size() >= part.size() ? seen.size() - part.size() : std::string::npos;
    const bool outcomes[] = {at != std::string::npos, at == std::string::npos,
                             seen.rfind(part, 0) == 0,
                             end != std::string::npos && seen.find(part, end) == end};
    const bool holds = outcomes[static_cast<int>(test)] && text.has_value();
    const std::string expression =
        std::string(text_expression) + " " + kVerbs[static_cast<int>(test)] + " " + Escape(part);
    return CheckComparison({holds, holds ? std::string() : Show(text)}, expression.c_str(), file,
                           line);
}

}  // namespace zv::e2e
