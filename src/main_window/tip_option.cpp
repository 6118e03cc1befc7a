#include "main_window/tip_option.h"

#include <limits>

#include "common/numbers.h"

namespace zv::main_window {

std::string ReadTipOption(TipOptionPort& port) {
    return port.Read().value_or("1");
}

bool ShowTipsAtStartup(TipOptionPort& port) {
    auto number = ParseDecimal(TrimBlanks(ReadTipOption(port)), std::numeric_limits<int64_t>::min(),
                               std::numeric_limits<int64_t>::max());
    return number && *number == 1;
}

}  // namespace zv::main_window
