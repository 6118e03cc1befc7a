#include "ping/cfg_fields.h"

#include "common/numbers.h"

namespace zv::ping {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDelimiter(char c) {
    return c == ',' || c == '\r' || c == '\n';
}

}  // namespace

std::optional<std::string> CfgFieldReader::Next() {
    while (!rest_.empty() && IsBlank(rest_.front())) {
        rest_.remove_prefix(1);
    }
    if (rest_.empty()) {
        return std::nullopt;
    }
    std::string field = rest_.front() == '"' ? ReadQuoted() : ReadPlain();
    SkipDelimiter();
    return field;
}

std::string CfgFieldReader::ReadQuoted() {
    rest_.remove_prefix(1);
    size_t close = rest_.find('"');
    std::string field(rest_.substr(0, close));
    rest_.remove_prefix(close == std::string_view::npos ? rest_.size() : close + 1);
    // Anything between the closing quote and the delimiter is not part of the field.
    while (!rest_.empty() && !IsDelimiter(rest_.front())) {
        rest_.remove_prefix(1);
    }
    return field;
}

std::string CfgFieldReader::ReadPlain() {
    size_t end = 0;
    while (end < rest_.size() && !IsDelimiter(rest_[end])) {
        ++end;
    }
    std::string field = TrimBlanks(rest_.substr(0, end));
    rest_.remove_prefix(end);
    return field;
}

void CfgFieldReader::SkipDelimiter() {
    if (rest_.empty()) {
        return;
    }
    char delimiter = rest_.front();
    rest_.remove_prefix(1);
    if (delimiter == '\r' && !rest_.empty() && rest_.front() == '\n') {
        rest_.remove_prefix(1);
    }
}

}  // namespace zv::ping
