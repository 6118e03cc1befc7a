// One line of the companion's CSV files, its fields apart by the list separator of the
// user's locale. A field holding the separator, a quote or a line end is quoted as
// spreadsheets expect.
#pragma once

#include <string>

namespace zv::monitor {

class CsvRow {
  public:
    explicit CsvRow(const std::string& separator) : separator_(separator) {}

    // Quoted, with its quotes doubled, when it holds the separator, a quote or a line end.
    CsvRow& operator<<(const std::string& field);
    // The line with its CR LF.
    std::string End() { return text_ + "\r\n"; }

  private:
    const std::string& separator_;
    std::string text_;
    bool first_ = true;
};

}  // namespace zv::monitor
