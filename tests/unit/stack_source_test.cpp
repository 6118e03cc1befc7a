// The values the Network Stack window offers for a row: a named setting's choices, every
// value of a short range, a long range's ends and the usual values between them, and
// nothing for a row Zorvane cannot write.
#include <gtest/gtest.h>

#include "main_window/stack_source.h"

namespace zv::main_window {
namespace {

netstack::StackRow RangeRow(uint32_t minimum, uint32_t maximum, bool writable = true) {
    netstack::StackRow row;
    row.label = "Range";
    row.state = netstack::RowState::Read;
    row.now = minimum;
    row.minimum = minimum;
    row.maximum = maximum;
    row.writable = writable;
    return row;
}

TEST(StackSourceTest, OfferedValuesFollowTheRowsKindAndBounds) {
    using Texts = std::vector<std::string>;
    EXPECT_EQ(RowText(RangeRow(2, 8)).choices, (Texts{"2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(RowText(RangeRow(576, 1500)).choices,
              (Texts{"576", "1000", "1280", "1400", "1450", "1480", "1492", "1500"}));
    EXPECT_EQ(RowText(RangeRow(1280, 1400)).choices, (Texts{"1280", "1400"}));
    EXPECT_TRUE(RowText(RangeRow(576, 1500, false)).choices.empty());
    netstack::StackRow named = RangeRow(0, 0);
    named.choices = {{0, "Disabled"}, {4, "Normal"}};
    EXPECT_EQ(RowText(named).choices, (Texts{"Disabled", "Normal"}));
}

}  // namespace
}  // namespace zv::main_window
