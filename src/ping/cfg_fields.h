// Reads a settings text as a sequence of fields separated by commas or line ends, the way
// the programs' small ".cfg" files are read back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zv::ping {

class CfgFieldReader {
  public:
    explicit CfgFieldReader(std::string_view text) : rest_(text) {}

    // The next field with blanks around it removed; a field that begins with a double
    // quote runs to the closing quote. Nothing when the text has ended.
    std::optional<std::string> Next();

  private:
    std::string ReadQuoted();
    std::string ReadPlain();
    void SkipDelimiter();

    std::string_view rest_;
};

}  // namespace zv::ping
