// A small, strict JSON reader and the writer's pieces, for the files and answers of the
// responsiveness test: RFC 8259 with nothing lenient (no comments, no trailing commas, no
// bare words), duplicate names and nesting deeper than kMaxDepth refused; bytes beyond ASCII in a
// string are kept as they are.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zv::monitor::json {

inline constexpr int kMaxDepth = 16;

struct Value {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Value> items;                            // an array's
    std::vector<std::pair<std::string, Value>> members;  // an object's, in their order

    // The member of that name, or null when there is none or this is no object.
    const Value* Find(const std::string& name) const;
    // The member's text or number, or nothing when it is missing or of another kind.
    std::optional<std::string> TextOf(const std::string& name) const;
    std::optional<double> NumberOf(const std::string& name) const;
    bool operator==(const Value& other) const;
};

// The value the whole text holds (white space around it allowed), or nothing.
std::optional<Value> Parse(const std::string& text);

// A string as JSON: quoted, with quotes, backslashes and control characters escaped.
std::string Quoted(const std::string& text);
// A value written back as compact JSON.
std::string Write(const Value& value);

}  // namespace zv::monitor::json
