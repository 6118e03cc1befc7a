#include "monitor/csv_row.h"

namespace zv::monitor {

CsvRow& CsvRow::operator<<(const std::string& field) {
    if (!first_) {
        text_ += separator_;
    }
    first_ = false;
    bool quoted = field.find_first_of("\"\r\n") != std::string::npos ||
                  (!separator_.empty() && field.find(separator_) != std::string::npos);
    if (!quoted) {
        text_ += field;
        return *this;
    }
    text_ += '"';
    for (char c : field) {
        text_ += c == '"' ? "\"\"" : std::string(1, c);
    }
    text_ += '"';
    return *this;
}

}  // namespace zv::monitor
