// The tip of the day: reading the tip file's lines, drawing tips, the missing-file message
// and the per-user start-up option; and the explanation dialog's texts.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/memory_file_system.h"
#include "fakes/memory_tip_option.h"
#include "main_window/display_view.h"
#include "main_window/tip_view.h"

namespace zv::main_window {
namespace {

class ScriptedRandom : public RandomSource {
  public:
    std::deque<double> values;
    double Next() override {
        double r = values.empty() ? 0.0 : values.front();
        if (!values.empty()) {
            values.pop_front();
        }
        return r;
    }
};

using Lines = std::vector<std::string>;

TEST(TipLinesTest, CrLfAndLoneCrEndLinesButLoneLfDoesNot) {
    EXPECT_EQ(SplitTipLines(""), Lines{});
    EXPECT_EQ(SplitTipLines("one"), Lines{"one"});
    EXPECT_EQ(SplitTipLines("one\r\n"), Lines{"one"});
    EXPECT_EQ(SplitTipLines("one\r\ntwo"), (Lines{"one", "two"}));
    EXPECT_EQ(SplitTipLines("one\rtwo\r"), (Lines{"one", "two"}));
    EXPECT_EQ(SplitTipLines("a\nb\r\nc"), (Lines{"a\nb", "c"}));
    EXPECT_EQ(SplitTipLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitTipLines("\r\n"), Lines{""});
    EXPECT_EQ(SplitTipLines("a\r\r\n"), (Lines{"a", ""}));
}

class TipViewTest : public ::testing::Test {
  protected:
    testing::MemoryFileSystem files;
    testing::MemoryTipOption option;
    ScriptedRandom random;
    const std::string path = "C:\\Z\\TIPs.TXT";
};

TEST_F(TipViewTest, MissingFileShowsTheMessageAndNextTipDoesNothing) {
    TipView tip(files, option, random, "C:\\Z");
    tip.Load();
    EXPECT_EQ(tip.lblTipText.caption(),
              "That the TIPs.TXT file was not found? \r\n\r\nCreate a text file named TIPs.TXT "
              "using NotePad with 1 tip per line. Then place it in the same directory as the "
              "application. ");
    tip.cmdNextTip.Click();
    EXPECT_EQ(tip.lblTipText.caption(), MissingTipFileMessage());

    files.files[path] = "x";
    files.hidden.insert(path);  // a hidden file does not count
    EXPECT_FALSE(tip.LoadTips(path));
    EXPECT_FALSE(tip.LoadTips(""));
}

// Load shows a drawn tip and each Next Tip draws another: every line is a tip, an empty
// one too, a draw outside 0 to 1 stays on the list, and an empty file counts as found but
// has nothing to show. Each step: the tip's number (from 1) and its text.
TEST_F(TipViewTest, EachDrawShowsALineOfTheFile) {
    using Shown = std::vector<std::pair<int, std::string>>;
    const struct {
        const char* file;
        std::deque<double> draws;
        Shown shown;  // after Load, then after each Next Tip
    } cases[] = {
        {"first\r\n\r\nthird\r\n",
         {0.0, 0.34, 0.67, 0.999999, 0.5},
         {{1, "first"}, {2, ""}, {3, "third"}, {3, "third"}, {2, ""}}},
        {"only one", {0.9, 1.0, -0.1}, {{1, "only one"}, {1, "only one"}, {1, "only one"}}},
        {"", {}, {{1, ""}, {1, ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        files.files[path] = c.file;
        random.values = c.draws;
        TipView tip(files, option, random, "C:\\Z");
        tip.Load();
        Shown shown;
        for (size_t step = 0; step < c.shown.size(); ++step) {
            if (step > 0) {
                tip.cmdNextTip.Click();
            }
            shown.emplace_back(tip.current_tip(), tip.lblTipText.caption());
        }
        EXPECT_EQ(shown, c.shown);
    }
}

TEST_F(TipViewTest, StartupOptionReadsAsOnWhenMissingAndIsStoredOnEveryClick) {
    EXPECT_TRUE(ShowTipsAtStartup(option));
    TipView tip(files, option, random, "C:\\Z");
    tip.Load();
    EXPECT_EQ(tip.chkLoadTipsAtStartup.value(), 1);
    EXPECT_EQ(option.writes, 0);  // opening stores nothing

    tip.chkLoadTipsAtStartup.Toggle();
    EXPECT_EQ(option.stored, "0");
    EXPECT_FALSE(ShowTipsAtStartup(option));
    tip.chkLoadTipsAtStartup.Toggle();
    EXPECT_EQ(option.stored, "1");
    EXPECT_TRUE(ShowTipsAtStartup(option));

    option.stored = "0";
    TipView reopened(files, option, random, "C:\\Z");
    reopened.Load();
    EXPECT_EQ(reopened.chkLoadTipsAtStartup.value(), 0);
}

TEST(TipOptionTest, OnlyTheNumberOneMeansOn) {
    testing::MemoryTipOption option;
    for (const char* text : {"0", "2", "", "yes", "-1", "1x"}) {
        option.stored = text;
        EXPECT_FALSE(ShowTipsAtStartup(option)) << "'" << text << "'";
    }
    for (const char* text : {"1", " 1", "01"}) {
        option.stored = text;
        EXPECT_TRUE(ShowTipsAtStartup(option)) << "'" << text << "'";
    }
}

TEST(DisplayViewTest, CaptionNamesTheConnectionType) {
    DisplayView dialog;
    dialog.Load("DSL/PPPoE");
    EXPECT_EQ(dialog.frmDisplay.caption(), "Connection Type - DSL/PPPoE");
    EXPECT_EQ(dialog.heading_label.caption(),
              "You choose to use the \"Manual Optimization Mode\".");
    EXPECT_EQ(dialog.explanation_label.caption(),
              "Try various settings combinations and watch your Internet performance to find "
              "out which configuration suits you best.\r\n\r\nIn order that your settings will "
              "take effect you will have to press the 'Apply' Button which is located in the "
              "bottom of the screen.");
    dialog.Load("");
    EXPECT_EQ(dialog.frmDisplay.caption(), "Connection Type - ");
}

}  // namespace
}  // namespace zv::main_window
