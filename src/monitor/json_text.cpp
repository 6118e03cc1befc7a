#include "monitor/json_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zv::monitor::json {
namespace {

class Reader {
  public:
    explicit Reader(const std::string& text) : text_(text) {}

    std::optional<Value> Whole() {
        Value value;
        if (!ReadValue(value, 0)) {
            return std::nullopt;
        }
        SkipSpace();
        if (at_ != text_.size()) {
            return std::nullopt;
        }
        return value;
    }

  private:
    bool ReadValue(Value& value, int depth) {
        SkipSpace();
        if (at_ >= text_.size() || depth > kMaxDepth) {
            return false;
        }
        char c = text_[at_];
        if (c == '{') {
            value.kind = Value::Kind::Object;
            return ReadObject(value, depth);
        }
        if (c == '[') {
            value.kind = Value::Kind::Array;
            return ReadArray(value, depth);
        }
        if (c == '"') {
            value.kind = Value::Kind::String;
            return ReadString(value.text);
        }
        if (Word("true") || Word("false")) {
            value.kind = Value::Kind::Bool;
            value.boolean = c == 't';
            return true;
        }
        if (Word("null")) {
            return true;
        }
        value.kind = Value::Kind::Number;
        return ReadNumber(value.number);
    }

    bool ReadObject(Value& value, int depth) {
        ++at_;
        if (Next('}')) {
            return true;
        }
        do {
            std::string name;
            SkipSpace();
            if (at_ >= text_.size() || text_[at_] != '"' || !ReadString(name) || value.Find(name)) {
                return false;
            }
            if (!Next(':')) {
                return false;
            }
            value.members.emplace_back(name, Value());
            if (!ReadValue(value.members.back().second, depth + 1)) {
                return false;
            }
        } while (Next(','));
        return Next('}');
    }

    bool ReadArray(Value& value, int depth) {
        ++at_;
        if (Next(']')) {
            return true;
        }
        do {
            value.items.emplace_back();
            if (!ReadValue(value.items.back(), depth + 1)) {
                return false;
            }
        } while (Next(','));
        return Next(']');
    }

    bool ReadString(std::string& out) {
        ++at_;
        while (at_ < text_.size()) {
            unsigned char c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') {
                return true;
            }
            if (c < 0x20) {
                return false;
            }
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (!ReadEscape(out)) {
                return false;
            }
        }
        return false;
    }

    bool ReadEscape(std::string& out) {
        if (at_ >= text_.size()) {
            return false;
        }
        static const std::string kFrom = "\"\\/bfnrt";
        static const std::string kTo = "\"\\/\b\f\n\r\t";
        char c = text_[at_++];
        if (size_t i = kFrom.find(c); i != std::string::npos) {
            out += kTo[i];
            return true;
        }
        unsigned code = 0;
        if (c != 'u' || !Hex4(code)) {
            return false;
        }
        if (code >= 0xDC00 && code <= 0xDFFF) {
            return false;
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
            unsigned low = 0;
            if (!Word("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        AppendUtf8(code, out);
        return true;
    }

    bool Hex4(unsigned& code) {
        for (int i = 0; i < 4; ++i) {
            if (at_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_]))) {
                return false;
            }
            char digit[2] = {text_[at_++], 0};
            code = code * 16 + static_cast<unsigned>(std::strtoul(digit, nullptr, 16));
        }
        return true;
    }

    static void AppendUtf8(unsigned code, std::string& out) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?, finite.
    bool ReadNumber(double& number) {
        size_t start = at_;
        Next('-', false);
        if (!Next('0', false) && !Digits()) {
            return false;
        }
        if (Next('.', false) && !Digits()) {
            return false;
        }
        if (Next('e', false) || Next('E', false)) {
            if (!Next('+', false)) {
                Next('-', false);
            }
            if (!Digits()) {
                return false;
            }
        }
        number = std::strtod(text_.substr(start, at_ - start).c_str(), nullptr);
        return std::isfinite(number);
    }

    bool Digits() {
        size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
            ++at_;
        }
        return at_ > start;
    }

    bool Word(const char* word) {
        std::string w(word);
        if (text_.compare(at_, w.size(), w) != 0) {
            return false;
        }
        at_ += w.size();
        return true;
    }

    bool Next(char c, bool skip_space = true) {
        if (skip_space) {
            SkipSpace();
        }
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    void SkipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }

    const std::string& text_;
    size_t at_ = 0;
};

std::string NumberText(double number) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", number);
    return text;
}

}  // namespace

const Value* Value::Find(const std::string& name) const {
    for (const auto& member : members) {
        if (member.first == name) {
            return &member.second;
        }
    }
    return nullptr;
}

std::optional<std::string> Value::TextOf(const std::string& name) const {
    const Value* member = Find(name);
    if (member == nullptr || member->kind != Kind::String) {
        return std::nullopt;
    }
    return member->text;
}

std::optional<double> Value::NumberOf(const std::string& name) const {
    const Value* member = Find(name);
    if (member == nullptr || member->kind != Kind::Number) {
        return std::nullopt;
    }
    return member->number;
}

bool Value::operator==(const Value& other) const {
    return kind == other.kind && boolean == other.boolean && number == other.number &&
           text == other.text && items == other.items && members == other.members;
}

std::optional<Value> Parse(const std::string& text) {
    return Reader(text).Whole();
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Write(const Value& value) {
    switch (value.kind) {
        case Value::Kind::Null:
            return "null";
        case Value::Kind::Bool:
            return value.boolean ? "true" : "false";
        case Value::Kind::Number:
            return NumberText(value.number);
        case Value::Kind::String:
            return Quoted(value.text);
        case Value::Kind::Array: {
            std::string out = "[";
            for (const Value& item : value.items) {
                out += (out.size() > 1 ? "," : "") + Write(item);
            }
            return out + "]";
        }
        case Value::Kind::Object:
            break;
    }
    std::string out = "{";
    for (const auto& member : value.members) {
        out += (out.size() > 1 ? "," : "") + Quoted(member.first) + ":" + Write(member.second);
    }
    return out + "}";
}

}  // namespace zv::monitor::json
