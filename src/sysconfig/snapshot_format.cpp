#include "sysconfig/snapshot_format.h"

#include <cstdint>
#include <cstdio>

#include "common/numbers.h"

namespace zv {
namespace {

constexpr char kHeader[] = "Zorvane snapshot 1";
constexpr char kEnd[] = "end";
constexpr char kAbsent[] = "absent";

// Quoted text: a backslash escapes a quote, a backslash and the control characters; other
// bytes, those of the ANSI code page included, stand as they are.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof(escape), "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The common kinds read as they are meant; anything else as its kind and bytes, so that
// whatever was there goes back byte for byte.
std::string ValueText(const std::optional<RegistryValue>& value) {
    if (!value) {
        return kAbsent;
    }
    if (IsPlainDword(*value)) {
        return "dword " + std::to_string(DwordOf(value->data));
    }
    if (IsPlainText(*value)) {
        return "sz " + Quoted(value->data.substr(0, value->data.size() - 1));
    }
    std::string bytes = HexBytes(value->data, ",");
    return "hex(" + std::to_string(value->kind) + ")" + (bytes.empty() ? "" : " " + bytes);
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
    std::string text = std::string(kHeader) +
                       "\r\n"
                       "; The registry values Zorvane was about to change, and Zorvane.cfg, as "
                       "they were before.\r\n"
                       "; Tools > Undo Last Change, or Zorvane.exe /undo, puts them back.\r\n";
    for (const std::string& key : snapshot.absent_keys) {
        text += "key absent " + Quoted(key) + "\r\n";
    }
    for (const Snapshot::Value& value : snapshot.values) {
        text += "value " + Quoted(value.key) + " " + Quoted(value.name) + " " +
                ValueText(value.value) + "\r\n";
    }
    text += "settings " +
            (snapshot.settings_file ? Quoted(*snapshot.settings_file) : std::string(kAbsent)) +
            "\r\n";
    return text + kEnd + "\r\n";
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
