// Checks for the end-to-end drivers, in the manner of Wine's conformance tests: every
// failed check prints where it was, what it expected and the value it actually saw,
// prefixed by the contexts open at the time; the run ends with "N passed, N failed".
//
//   E2E_CHECK(IsWindow(box));                       // "IsWindow(box): saw 0"
//   E2E_CHECK(seconds < 1.0);                       // "seconds < 1.0: saw 1.7 < 1"
//   E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, "MTU"), 1500u);
//   E2E_CHECK_BETWEEN(period, 150, 300);            // "period is 412, expected 150 to 300"
//   E2E_CHECK_CONTAINS(output, "set to 576.");      // 'output contains "set to 576.": saw "..."'
//   E2E_CHECK_LACKS(output, "auto-tuning");         // and _STARTS_WITH, _ENDS_WITH; a missing
//                                                   // optional text fails, shown as (none)
//   E2E_CHECK_EMPTY(NetshCalls());                  // 'NetshCalls() is empty: saw ["..."]'
//   E2E_CHECK_ONE_OF(code, kInstallFailed, kFunctionFailed);  // "code is one of ...: saw 5"
//   for (...) { e2e::Context in("subkey " + name); ... }
//   return e2e::Finish();
//
// E2E_CHECK takes its expression apart as a comparison, so that a failure shows both sides;
// a condition joined with && or || is checked as a whole (short-circuit kept) and shows
// only that it was false: check one fact per check, with the helpers above where they fit.
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

template <typename T, typename = void>
struct Streamable : std::false_type {};
template <typename T>
struct Streamable<T,
                  std::void_t<decltype(std::declval<std::ostream&>() << std::declval<const T&>())>>
    : std::true_type {};

template <typename T>
std::string Show(const T& value) {
    if constexpr (std::is_same_v<T, std::nullptr_t>) {
        return "nullptr";
    } else if constexpr (std::is_pointer_v<T> && std::is_convertible_v<T, const char*>) {
        return value == nullptr ? "(null)" : Escape(value);
    } else if constexpr (std::is_convertible_v<const T&, std::string>) {
        return Escape(std::string(value));
    } else if constexpr (std::is_same_v<T, bool>) {
        return value ? "true" : "false";
    } else if constexpr (!Streamable<T>::value) {
        return "(a value that cannot be shown)";
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

template <typename T>
std::string Show(const std::vector<T>& values) {
    std::string shown;
    for (const T& value : values) {
        shown += (shown.empty() ? "" : ", ") + Show(value);
    }
    return "[" + shown + "]";
}

bool CheckTrue(bool condition, const char* expression, const char* file, int line);

// Compares integers of either signedness by their values (a negative int is less than any
// unsigned), everything else with its own operator.
template <typename A, typename B>
constexpr bool MixedSigns() {
    return std::is_integral_v<A> && std::is_integral_v<B> && !std::is_same_v<A, bool> &&
           !std::is_same_v<B, bool> && std::is_signed_v<A> != std::is_signed_v<B>;
}
template <typename A, typename B>
bool Less(const A& a, const B& b) {
    if constexpr (MixedSigns<A, B>()) {
        if constexpr (std::is_signed_v<A>) {
            return a < 0 || static_cast<std::make_unsigned_t<A>>(a) < b;
        } else {
            return b >= 0 && a < static_cast<std::make_unsigned_t<B>>(b);
        }
    } else {
        return a < b;
    }
}
template <typename A, typename B>
bool Equal(const A& a, const B& b) {
    if constexpr (MixedSigns<A, B>()) {
        return !Less(a, b) && !Less(b, a);
    } else {
        return a == b;
    }
}

// The result of a comparison inside E2E_CHECK, with both sides as text.
struct Comparison {
    bool holds;
    std::string seen;
    explicit operator bool() const { return holds; }
};

template <typename A, typename B>
Comparison Compared(bool holds, const A& a, const char* op, const B& b) {
    return {holds, holds ? std::string() : Show(a) + " " + op + " " + Show(b)};
}

// The left side of a comparison, or a value checked on its own.
template <typename A>
struct Operand {
    const A& value;
    explicit operator bool() const { return static_cast<bool>(value); }
    template <typename B>
    Comparison operator==(const B& b) const {
        return Compared(Equal(value, b), value, "==", b);
    }
    template <typename B>
    Comparison operator!=(const B& b) const {
        return Compared(!Equal(value, b), value, "!=", b);
    }
    template <typename B>
    Comparison operator<(const B& b) const {
        return Compared(Less(value, b), value, "<", b);
    }
    template <typename B>
    Comparison operator>(const B& b) const {
        return Compared(Less(b, value), value, ">", b);
    }
    template <typename B>
    Comparison operator<=(const B& b) const {
        return Compared(!Less(b, value), value, "<=", b);
    }
    template <typename B>
    Comparison operator>=(const B& b) const {
        return Compared(!Less(value, b), value, ">=", b);
    }
};

struct Decomposer {
    template <typename A>
    Operand<A> operator<=(const A& value) const {
        return {value};
    }
};

bool CheckComparison(const Comparison& comparison, const char* expression, const char* file,
                     int line);

template <typename A>
bool CheckOperand(const Operand<A>& operand, const char* expression, const char* file, int line) {
    const bool holds = static_cast<bool>(operand);
    return CheckComparison({holds, holds ? std::string() : Show(operand.value)}, expression, file,
                           line);
}
inline bool CheckOperand(bool condition, const char* expression, const char* file, int line) {
    return CheckTrue(condition, expression, file, line);
}
inline bool CheckOperand(const Comparison& comparison, const char* expression, const char* file,
                         int line) {
    return CheckComparison(comparison, expression, file, line);
}

template <typename V, typename L, typename H>
bool CheckBetween(const V& value, const L& low, const H& high, const char* value_text,
                  const char* file, int line) {
    if (!Less(value, low) && !Less(high, value)) {
        Tally::Get().Pass();
        return true;
    }
    Tally::Get().Fail(file, line,
                      std::string(value_text) + " is " + Show(value) + ", expected " + Show(low) +
                          " to " + Show(high));
    return false;
}

template <typename A, typename E>
bool CheckEqual(const A& actual, const E& expected, const char* actual_text,
                const char* expected_text, const char* file, int line) {
    if (Equal(actual, expected)) {
        Tally::Get().Pass();
        return true;
    }
    Tally::Get().Fail(file, line,
                      std::string(actual_text) + " is " + Show(actual) + ", expected " +
                          Show(expected) + " (" + expected_text + ")");
    return false;
}

enum class TextTest { kContains, kLacks, kStartsWith, kEndsWith };

// Checks TEXT against PART and shows the whole text when the check fails.
bool CheckText(const std::optional<std::string>& text, TextTest test, const std::string& part,
               const char* text_expression, const char* file, int line);

template <typename List>
bool CheckEmpty(const List& list, const char* expression, const char* file, int line) {
    const bool holds = list.empty();
    return CheckComparison({holds, holds ? std::string() : Show(list)},
                           (std::string(expression) + " is empty").c_str(), file, line);
}

template <typename V, typename... C>
bool CheckOneOf(const V& value, const char* expression, const char* choices, const char* file,
                int line, const C&... choice) {
    const bool holds = (Equal(value, choice) || ...);
    return CheckComparison({holds, holds ? std::string() : Show(value)},
                           (std::string(expression) + " is one of " + choices).c_str(), file, line);
}

}  // namespace zv::e2e

// The comparison is taken apart on purpose, so GCC's advice to bracket it is kept quiet; a
// pragma may not stand inside an expression, hence the lambda.
#define E2E_CHECK(condition)                                                                    \
    [&]() -> bool {                                                                             \
        _Pragma("GCC diagnostic push")                                                          \
            _Pragma("GCC diagnostic ignored \"-Wparentheses\"") return ::zv::e2e::CheckOperand( \
                ::zv::e2e::Decomposer() <= condition, #condition, __FILE__, __LINE__);          \
        _Pragma("GCC diagnostic pop")                                                           \
    }()
#define E2E_CHECK_BETWEEN(value, low, high) \
    ::zv::e2e::CheckBetween((value), (low), (high), #value, __FILE__, __LINE__)
#define E2E_CHECK_EQ(actual, expected) \
    ::zv::e2e::CheckEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)
#define E2E_CHECK_TEXT(test, text, part) \
    ::zv::e2e::CheckText((text), ::zv::e2e::TextTest::test, (part), #text, __FILE__, __LINE__)
#define E2E_CHECK_CONTAINS(text, part) E2E_CHECK_TEXT(kContains, text, part)
#define E2E_CHECK_LACKS(text, part) E2E_CHECK_TEXT(kLacks, text, part)
#define E2E_CHECK_STARTS_WITH(text, part) E2E_CHECK_TEXT(kStartsWith, text, part)
#define E2E_CHECK_ENDS_WITH(text, part) E2E_CHECK_TEXT(kEndsWith, text, part)
#define E2E_CHECK_EMPTY(list) ::zv::e2e::CheckEmpty((list), #list, __FILE__, __LINE__)
#define E2E_CHECK_ONE_OF(value, ...) \
    ::zv::e2e::CheckOneOf((value), #value, #__VA_ARGS__, __FILE__, __LINE__, __VA_ARGS__)
