// The settings window's lists and the values their positions stand for.
#include <gtest/gtest.h>

#include "tuning/tuning_settings.h"
#include "tuning/value_lists.h"

namespace zv {
namespace {

TEST(ValueListsTest, ListsHoldTheirItemsInOrder) {
    EXPECT_EQ(ConnectionTypeItems(), (std::vector<std::string>{"Dial-up (Modem)", "DSL/PPPoE",
                                                               "ISDN", "ADSL/Cable", "T1"}));
    EXPECT_EQ(RwinItems(), (std::vector<std::string>{"x4", "x6", "x8", "x10", "x12", "x14", "x16",
                                                     "x32", "x64", "x128", "x255"}));
    EXPECT_EQ(NdiItems(), (std::vector<std::string>{"0", "2", "4", "8", "16", "32", "64"}));
    auto ska = SkaItems();
    ASSERT_EQ(ska.size(), 60u);
    EXPECT_EQ(ska.front(), "1 min.");
    EXPECT_EQ(ska[9], "10 min.");
    EXPECT_EQ(ska.back(), "60 min.");
    auto mscps = MscpsItems();
    ASSERT_EQ(mscps.size(), 59u);
    EXPECT_EQ(mscps.front(), "2");
    EXPECT_EQ(mscps.back(), "60");
}

// The value of a position must be what its item text shows, or the window and the
// registry would disagree.
TEST(ValueListsTest, EveryItemTextShowsTheValueOfItsPosition) {
    auto rwin = RwinItems();
    for (int16_t p = 0; p < static_cast<int16_t>(rwin.size()); ++p) {
        EXPECT_EQ(rwin[p], "x" + std::to_string(*RwinMultiplierAt(p))) << p;
    }
    auto ndi = NdiItems();
    for (int16_t p = 0; p < static_cast<int16_t>(ndi.size()); ++p) {
        EXPECT_EQ(ndi[p], std::to_string(*NdiAt(p))) << p;
    }
    auto mscps = MscpsItems();
    for (int16_t p = 0; p < static_cast<int16_t>(mscps.size()); ++p) {
        EXPECT_EQ(mscps[p], std::to_string(*MscpsAt(p))) << p;
    }
    auto ska = SkaItems();
    for (int16_t p = 0; p < static_cast<int16_t>(ska.size()); ++p) {
        EXPECT_EQ(ska[p], std::to_string(*SkaAt(p) / 60000) + " min.") << p;
    }
}

TEST(ValueListsTest, PositionsGiveTheirValues) {
    EXPECT_EQ(SkaAt(9), 600000);
    EXPECT_EQ(SkaAt(59), 3600000);
    EXPECT_EQ(NdiAt(0), 0);
    EXPECT_EQ(NdiAt(4), 16);
    EXPECT_EQ(NdiAt(5), 32);
    EXPECT_EQ(MscpsAt(0), 2);
    EXPECT_EQ(MscpsAt(2), 4);
    EXPECT_EQ(MscpsAt(4), 6);
    EXPECT_EQ(RwinMultiplierAt(8), 64);
    EXPECT_EQ(RwinMultiplierAt(10), 255);
}

TEST(ValueListsTest, PositionsOutsideTheirListHaveNoValue) {
    EXPECT_FALSE(RwinMultiplierAt(NoSelection));
    EXPECT_FALSE(RwinMultiplierAt(11));
    EXPECT_FALSE(SkaAt(60));
    EXPECT_FALSE(NdiAt(7));
    EXPECT_FALSE(MscpsAt(59));
    EXPECT_FALSE(MscpsAt(NoSelection));
}

TEST(ValueListsTest, CustomRwinMultipliesTheMtuAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(CustomRwin(8, 1500), 96000);
    EXPECT_EQ(CustomRwin(0, NotSet), 6000);
    EXPECT_EQ(CustomRwin(10, 65535), 16711425);
    EXPECT_FALSE(CustomRwin(10, 2000000000));
    EXPECT_FALSE(CustomRwin(NoSelection, 1500));
}

TEST(TuningSettingsTest, InitialDefaultsLeaveTheFiveTuningValuesToWindows) {
    TuningSettings defaults = InitialDefaultSettings();
    EXPECT_EQ(defaults.MTU, NotSet);
    EXPECT_EQ(defaults.RWIN, NotSet);
    EXPECT_EQ(defaults.TTL, NotSet);
    EXPECT_EQ(defaults.SKA, NotSet);
    EXPECT_EQ(defaults.NDI, NotSet);
    TuningSettings rest = defaults;
    rest.MTU = rest.RWIN = rest.TTL = rest.SKA = rest.NDI = 0;
    EXPECT_EQ(rest, TuningSettings{});
}

}  // namespace
}  // namespace zv
