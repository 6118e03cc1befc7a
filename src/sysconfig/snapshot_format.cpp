#include "sysconfig/snapshot_format.h"

#include <cstdint>
#include <cstdio>

#include "common/numbers.h"

namespace zv {
namespace {

constexpr char kHeader[] = "Zorvane snapshot 1";
constexpr char kEnd[] = "end";
constexpr char kAbsent[] = "absent";
constexpr char kWindowsDefault[] = "default";
constexpr char kStored[] = "stored";

// Quoted text: a backslash escapes a quote, a backslash and the control characters; other
// bytes, those of the ANSI code page included, stand as they are. Runs of plain bytes are
// appended whole, as every Apply writes a snapshot.
void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    size_t plain_from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte != 0x7F && byte != '"' && byte != '\\') {
            continue;
        }
        out.append(text, plain_from, i - plain_from);
        plain_from = i + 1;
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += text[i];
        } else if (byte == '\r' || byte == '\n') {
            out += byte == '\r' ? "\\r" : "\\n";
        } else {
            char escape[5];
            std::snprintf(escape, sizeof(escape), "\\x%02X", byte);
            out += escape;
        }
    }
    out.append(text, plain_from, std::string::npos);
    out += '"';
}

// "value "KEY" "NAME" " and "stack "SETTING" "INSTANCE" ": a line up to its value.
void AppendLineStart(std::string& out, const char* word, const std::string& first,
                     const std::string& second) {
    out += word;
    AppendQuoted(out, first);
    out += ' ';
    AppendQuoted(out, second);
    out += ' ';
}

// The common kinds read as they are meant; anything else as its kind and bytes, so that
// whatever was there goes back byte for byte.
void AppendValue(std::string& out, const std::optional<RegistryValue>& value) {
    if (!value) {
        out += kAbsent;
    } else if (IsPlainDword(*value)) {
        out += "dword ";
        out += std::to_string(DwordOf(value->data));
    } else if (IsPlainText(*value)) {
        out += "sz ";
        AppendQuoted(out, value->data.substr(0, value->data.size() - 1));
    } else {
        out += "hex(" + std::to_string(value->kind) + ")";
        if (!value->data.empty()) {
            out += ' ';
            out += HexBytes(value->data, ",");
        }
    }
}

std::string StackNumberText(const std::optional<uint32_t>& number) {
    return number ? "dword " + std::to_string(*number) : std::string(kAbsent);
}

struct Token {
    std::string text;
    bool quoted = false;
};

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return std::nullopt;
}

// Reads the quoted text that starts at line[i] (the opening quote); false when it is not
// closed or holds an escape FormatSnapshot never writes.
bool ReadQuoted(const std::string& line, size_t& i, std::string* text) {
    for (++i; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            ++i;
            return true;
        }
        if (c != '\\') {
            *text += c;
            continue;
        }
        if (++i >= line.size()) {
            return false;
        }
        char e = line[i];
        if (e == '"' || e == '\\') {
            *text += e;
        } else if (e == 'r' || e == 'n') {
            *text += e == 'r' ? '\r' : '\n';
        } else if (e == 'x' && i + 2 < line.size() && HexDigit(line[i + 1]) &&
                   HexDigit(line[i + 2])) {
            *text += static_cast<char>(*HexDigit(line[i + 1]) * 16 + *HexDigit(line[i + 2]));
            i += 2;
        } else {
            return false;
        }
    }
    return false;
}

std::optional<std::vector<Token>> Tokens(const std::string& line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        Token token;
        if (line[i] == '"') {
            token.quoted = true;
            if (!ReadQuoted(line, i, &token.text) || (i < line.size() && line[i] != ' ')) {
                return std::nullopt;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '"') {
                token.text += line[i++];
            }
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

bool IsWord(const std::vector<Token>& tokens, size_t index, const char* word) {
    return index < tokens.size() && !tokens[index].quoted && tokens[index].text == word;
}

bool IsText(const std::vector<Token>& tokens, size_t index) {
    return index < tokens.size() && tokens[index].quoted;
}

// "aa,bb,..." as FormatSnapshot writes bytes: two hex digits each, commas between.
std::optional<std::string> ParseHexBytes(const std::string& text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); i += 3) {
        bool last = i + 2 == text.size();
        if (i + 2 > text.size() || !HexDigit(text[i]) || !HexDigit(text[i + 1]) ||
            (!last && text[i + 2] != ',') || (!last && i + 3 == text.size())) {
            return std::nullopt;
        }
        bytes += static_cast<char>(*HexDigit(text[i]) * 16 + *HexDigit(text[i + 1]));
    }
    return bytes;
}

std::optional<uint32_t> ParseNumber(const std::string& text) {
    auto number =
        IsAllDigits(text) && text.size() <= 10 ? ParseDecimal(text, 0, UINT32_MAX) : std::nullopt;
    if (!number) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(*number);
}

// The value words after the key and name: "absent", "dword N", "sz "text"" or
// "hex(K) bytes".
bool ParseValue(const std::vector<Token>& t, size_t at, std::optional<RegistryValue>* value) {
    size_t left = t.size() - at;
    if (left == 1 && IsWord(t, at, kAbsent)) {
        value->reset();
        return true;
    }
    if (left == 2 && IsWord(t, at, "dword") && !t[at + 1].quoted) {
        auto number = ParseNumber(t[at + 1].text);
        if (!number) {
            return false;
        }
        *value = RegistryValue{kRegDword, DwordBytes(*number)};
        return true;
    }
    if (left == 2 && IsWord(t, at, "sz") && IsText(t, at + 1)) {
        *value = RegistryValue{kRegSz, t[at + 1].text + '\0'};
        return true;
    }
    const std::string& word = t[at].text;
    if (t[at].quoted || left > 2 || word.size() < 6 || word.compare(0, 4, "hex(") != 0 ||
        word.back() != ')') {
        return false;
    }
    auto kind = ParseNumber(word.substr(4, word.size() - 5));
    auto bytes = left == 2 && !t[at + 1].quoted ? ParseHexBytes(t[at + 1].text)
                                                : std::optional<std::string>("");
    if (!kind || !bytes || (left == 2 && bytes->empty())) {
        return false;
    }
    *value = RegistryValue{*kind, *bytes};
    return true;
}

class Parser {
  public:
    // False, with the reason, for a line that is not as FormatSnapshot writes it.
    bool Line(const std::vector<Token>& t) {
        if (ended_) {
            return Fail("there is more after the end line");
        }
        if (t.size() == 1 && IsWord(t, 0, kEnd)) {
            if (!has_settings_) {
                return Fail("Zorvane.cfg is not recorded");
            }
            ended_ = true;
            return true;
        }
        if (t.size() == 3 && IsWord(t, 0, "key") && IsWord(t, 1, kAbsent) && IsText(t, 2)) {
            snapshot_.absent_keys.push_back(t[2].text);
            return true;
        }
        if (t.size() >= 4 && IsWord(t, 0, "value") && IsText(t, 1) && IsText(t, 2)) {
            Snapshot::Value value{t[1].text, t[2].text, std::nullopt};
            if (!ParseValue(t, 3, &value.value)) {
                return Fail("the value is not understood");
            }
            snapshot_.values.push_back(std::move(value));
            return true;
        }
        if (t.size() >= 4 && IsWord(t, 0, "stack") && IsText(t, 1) && IsText(t, 2)) {
            return StackLine(t);
        }
        if (t.size() == 2 && IsWord(t, 0, "settings") && !has_settings_) {
            has_settings_ = true;
            if (IsWord(t, 1, kAbsent)) {
                return true;
            }
            if (IsText(t, 1)) {
                snapshot_.settings_file = t[1].text;
                return true;
            }
        }
        return Fail("it is not understood");
    }

    bool ended() const { return ended_; }
    const Snapshot& snapshot() const { return snapshot_; }
    const std::string& reason() const { return reason_; }

  private:
    // "stack "setting" "instance" VALUE", VALUE being "dword N", "absent" or "default"; an
    // adapter's MTU adds "stored dword N" or "stored absent".
    bool StackLine(const std::vector<Token>& t) {
        Snapshot::StackValue value{t[1].text, t[2].text, std::nullopt, false};
        size_t at = 3;
        if (IsWord(t, at, kWindowsDefault)) {
            value.windows_default = true;
            ++at;
        } else if (!StackNumber(t, at, &value.value)) {
            return Fail("the stack value is not understood");
        }
        if (IsWord(t, at, kStored)) {
            value.stored_known = true;
            if (!StackNumber(t, ++at, &value.stored)) {
                return Fail("the stored stack value is not understood");
            }
        }
        if (at != t.size()) {
            return Fail("the stack value is not understood");
        }
        snapshot_.stack_values.push_back(std::move(value));
        return true;
    }

    // "absent" or "dword N" at t[at], `at` moved past it.
    static bool StackNumber(const std::vector<Token>& t, size_t& at,
                            std::optional<uint32_t>* value) {
        if (IsWord(t, at, kAbsent)) {
            value->reset();
            at += 1;
            return true;
        }
        std::optional<uint32_t> number =
            IsWord(t, at, "dword") && at + 1 < t.size() && !t[at + 1].quoted
                ? ParseNumber(t[at + 1].text)
                : std::nullopt;
        *value = number;
        at += 2;
        return number.has_value();
    }

    bool Fail(const char* reason) {
        reason_ = reason;
        return false;
    }

    Snapshot snapshot_;
    bool has_settings_ = false;
    bool ended_ = false;
    std::string reason_;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

}  // namespace

std::string FormatSnapshot(const Snapshot& snapshot) {
    std::string text;
    text.reserve(256 + 100 * snapshot.values.size() +
                 snapshot.settings_file.value_or(std::string()).size());
    text += kHeader;
    text +=
        "\r\n"
        "; The registry values Zorvane was about to change, and Zorvane.cfg, as they were "
        "before.\r\n"
        "; Tools > Undo Last Change, or Zorvane.exe /undo, puts them back.\r\n";
    for (const std::string& key : snapshot.absent_keys) {
        text += "key absent ";
        AppendQuoted(text, key);
        text += "\r\n";
    }
    for (const Snapshot::Value& value : snapshot.values) {
        AppendLineStart(text, "value ", value.key, value.name);
        AppendValue(text, value.value);
        text += "\r\n";
    }
    for (const Snapshot::StackValue& value : snapshot.stack_values) {
        AppendLineStart(text, "stack ", value.setting, value.instance);
        text += value.windows_default ? kWindowsDefault : StackNumberText(value.value);
        if (value.stored_known) {
            text += std::string(" ") + kStored + " " + StackNumberText(value.stored);
        }
        text += "\r\n";
    }
    text += "settings ";
    if (snapshot.settings_file) {
        AppendQuoted(text, *snapshot.settings_file);
    } else {
        text += kAbsent;
    }
    text += "\r\n";
    text += kEnd;
    text += "\r\n";
    return text;
}

std::optional<Snapshot> ParseSnapshot(const std::string& text, std::string* error) {
    std::vector<std::string> lines = Lines(text);
    if (lines.empty() || lines[0] != kHeader) {
        *error = std::string("its first line is not \"") + kHeader + "\"";
        return std::nullopt;
    }
    Parser parser;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i][0] == ';') {
            continue;
        }
        auto tokens = Tokens(lines[i]);
        if (!tokens || !parser.Line(*tokens)) {
            *error = "line " + std::to_string(i + 1) + ": " +
                     (tokens ? parser.reason() : std::string("its quoted text is not understood"));
            return std::nullopt;
        }
    }
    if (!parser.ended()) {
        *error = "it ends before its end line";
        return std::nullopt;
    }
    return parser.snapshot();
}

}  // namespace zv
