// Checks for the end-to-end drivers, in the manner of Wine's conformance tests: every
// failed check prints where it was, what it expected and the value it actually saw,
// prefixed by the contexts open at the time; the run ends with "N passed, N failed".
//
//   E2E_CHECK(IsWindow(box));
//   E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, "MTU"), 1500u);
//   for (...) { e2e::Context in("subkey " + name); ... }
//   return e2e::Finish();
#pragma once

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace zv::e2e {

// The tally of one driver run.
class Tally {
  public:
    static Tally& Get();

    void Pass() { ++passed_; }
    void Fail(const char* file, int line, const std::string& message);
    void PushContext(const std::string& context) { contexts_.push_back(context); }
    void PopContext() { contexts_.pop_back(); }
    std::string ContextPrefix() const;  // "context: context: " of the open contexts
    int passed() const { return passed_; }
    int failed() const { return failed_; }

    // On the first failure the windows on screen are listed and a screenshot is asked
    // for (see screen.h); a driver that has no windows may turn this off.
    bool report_screen_on_first_failure = true;

  private:
    Tally();
    int passed_ = 0;
    int failed_ = 0;
    std::vector<std::string> contexts_;
};

// Labels the failures of its scope, such as the iteration of a loop.
class Context {
  public:
    explicit Context(const std::string& context) { Tally::Get().PushContext(context); }
    ~Context() { Tally::Get().PopContext(); }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
};

// A line of information (not a check), printed with the open contexts.
void Note(const std::string& text);

// Prints "N passed, N failed" and returns the process exit code: 0 when something was
// checked and nothing failed.
int Finish();

// Text shown for a value: strings quoted with unprintable bytes escaped, missing
// optionals as (none).
std::string Escape(const std::string& text);

template <typename T>
std::string Show(const T& value) {
    if constexpr (std::is_convertible_v<const T&, std::string>) {
        return Escape(std::string(value));
    } else {
        std::ostringstream out;
        if constexpr (std::is_same_v<T, char> || std::is_same_v<T, unsigned char>) {
            out << static_cast<int>(value);
        } else {
            out << value;
        }
        return out.str();
    }
}

template <typename T>
std::string Show(const std::optional<T>& value) {
    return value ? Show(*value) : "(none)";
}

bool CheckTrue(bool condition, const char* expression, const char* file, int line);

template <typename A, typename E>
bool CheckEqual(const A& actual, const E& expected, const char* actual_text,
                const char* expected_text, const char* file, int line) {
    if (actual == expected) {
        Tally::Get().Pass();
        return true;
    }
    Tally::Get().Fail(file, line,
                      std::string(actual_text) + " is " + Show(actual) + ", expected " +
                          Show(expected) + " (" + expected_text + ")");
    return false;
}

}  // namespace zv::e2e

#define E2E_CHECK(condition) ::zv::e2e::CheckTrue((condition), #condition, __FILE__, __LINE__)
#define E2E_CHECK_EQ(actual, expected) \
    ::zv::e2e::CheckEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)
