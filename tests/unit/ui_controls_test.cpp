// The handler rule of the control model: handlers run on every real change, made by the
// user or the program, and never for a change to the state a control already has.
#include <gtest/gtest.h>

#include <vector>

#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/menu.h"
#include "ui/option.h"
#include "ui/text_box.h"
#include "ui/timer.h"

namespace zv::ui {
namespace {

class RecordingView : public ControlView {
  public:
    std::vector<Change> changes;
    void OnChange(Change what) override { changes.push_back(what); }
};

TEST(OptionTest, SelectingIsExclusiveAndOnlySelectionRunsHandlers) {
    OptionGroup group;
    Option first("Windows Default", group);
    Option second("Custom", group);
    std::vector<std::string> ran;
    first.on_select = [&] { ran.push_back("first"); };
    second.on_select = [&] { ran.push_back("second"); };

    first.Select();
    first.Select();  // already selected: nothing runs
    second.Select();
    EXPECT_FALSE(first.selected());
    EXPECT_TRUE(second.selected());
    EXPECT_EQ(group.Selected(), &second);

    second.Deselect();  // deselecting runs nothing
    EXPECT_EQ(group.Selected(), nullptr);
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"}));
}

TEST(OptionTest, HandlerSeesTheNewStateOfTheWholeGroup) {
    OptionGroup group;
    Option first("A", group);
    Option second("B", group);
    first.Select();
    bool first_was_cleared = false;
    second.on_select = [&] { first_was_cleared = !first.selected(); };
    second.Select();
    EXPECT_TRUE(first_was_cleared);
}

TEST(CheckBoxTest, RunsHandlerOnlyOnChange) {
    CheckBox box("Check");
    int runs = 0;
    box.on_change = [&] { ++runs; };
    box.SetValue(0);
    box.Toggle();
    box.SetValue(1);
    box.Toggle();
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(box.value(), 0);
}

TEST(TextBoxTest, TypingPassesTheKeyFilterAndHonoursTheLengthCap) {
    TextBox box;
    int changes = 0;
    box.on_change = [&] { ++changes; };
    box.on_key_press = [](char key) { return key == kBackspace || (key >= '0' && key <= '9'); };
    box.SetMaxLength(3);

    for (char key : std::string("1a2345")) {
        box.Type(key);
    }
    EXPECT_EQ(box.text(), "123");
    box.Type(kBackspace);
    EXPECT_EQ(box.text(), "12");
    EXPECT_EQ(changes, 4);  // "1", "12", "123", "12": the capped keys changed nothing

    box.SetText("");
    box.Type(kBackspace);  // nothing to delete
    EXPECT_EQ(changes, 5);
}

TEST(TextBoxTest, EditingShortcutsPassWithoutReachingTheKeyFilter) {
    TextBox box;
    std::string filtered;
    box.on_key_press = [&](char key) {
        filtered += key;
        return key >= '0' && key <= '9';
    };
    box.SetText("15");
    const char kCtrlA = 1, kCtrlC = 3, kCtrlV = 22, kCtrlX = 24, kCtrlZ = 26;
    for (char key : {kCtrlA, kCtrlC, kCtrlV, kCtrlX, kCtrlZ}) {
        EXPECT_TRUE(box.AcceptsKey(key)) << int(key);
        box.Type(key);
    }
    EXPECT_EQ(filtered, "");
    EXPECT_EQ(box.text(), "15");
    const char kCtrlB = 2, kEscape = 27;
    for (char key : {kCtrlB, kEscape, 'a'}) {
        EXPECT_FALSE(box.AcceptsKey(key)) << int(key);
    }
}

TEST(TextBoxTest, PasteFilterRefusesTheWholeText) {
    TextBox box;
    box.on_paste = [](const std::string& text) { return text.find('x') == std::string::npos; };
    box.Paste("12x");
    EXPECT_EQ(box.text(), "");
    box.Paste("12");
    EXPECT_EQ(box.text(), "12");
}

TEST(ComboBoxTest, SelectionChangesRunHandlerAndInvalidPositionsAreIgnored) {
    ComboBox list;
    int runs = 0;
    list.on_change = [&] { ++runs; };
    list.AddItem("x4");
    list.AddItem("x6");

    list.SetSelection(1);
    list.SetSelection(1);
    list.SetSelection(2);   // beyond the list
    list.SetSelection(-2);  // not a position
    EXPECT_EQ(list.selection(), 1);
    EXPECT_EQ(list.SelectedText(), "x6");

    list.SetSelection(kNoSelection);
    EXPECT_EQ(list.SelectedText(), "");
    EXPECT_EQ(runs, 2);

    list.SetSelection(0);
    list.Clear();  // emptying runs nothing
    EXPECT_EQ(list.selection(), kNoSelection);
    EXPECT_EQ(runs, 3);
}

TEST(ControlTest, ViewSeesEveryChangeButNoRepeats) {
    ComboBox list;
    RecordingView view;
    list.AttachView(&view);
    list.SetEnabled(true);  // already enabled
    list.SetEnabled(false);
    list.AddItem("2");
    list.SetSelection(0);
    list.MoveBy(0, -315);
    EXPECT_EQ(view.changes, (std::vector<Change>{Change::Enabled, Change::Items, Change::Selection,
                                                 Change::Bounds}));
    EXPECT_EQ(list.bounds().top, -315);
}

TEST(TimerTest, TicksOnlyWhenEnabledWithAnInterval) {
    Timer timer(0, true);
    int ticks = 0;
    timer.on_tick = [&] { ++ticks; };
    timer.Tick();  // interval 0: not armed
    timer.SetInterval(60000);
    timer.Tick();
    timer.SetEnabled(false);
    timer.Tick();
    EXPECT_EQ(ticks, 1);
}

MenuTable SampleMenu() {
    return {{"&File", {{"&Open", 1}, MenuSeparator(), {"More", {{"&Close", 2}}}}}};
}

TEST(MenuTest, AnItemWithoutHandlerOrCommandStopsTheStart) {
    Menu menu(SampleMenu());
    menu.On(1, [] {});
    try {
        menu.RequireHandlers();
        ADD_FAILURE() << "a missing handler passed";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "menu item \"&Close\" (command 2) has no handler");
    }
    menu.On(2, [] {});
    EXPECT_NO_THROW(menu.RequireHandlers());
    EXPECT_THROW(menu.On(3, [] {}), std::logic_error);  // no item has command 3

    Menu no_command({{"&Tools", 0}});
    EXPECT_THROW(no_command.RequireHandlers(), std::logic_error);
}

TEST(MenuTest, DispatchesByCommandAndMirrorsOnlyRealChanges) {
    struct Recorder : Menu::View {
        std::vector<int> changed;
        void OnItemChanged(int command) override { changed.push_back(command); }
    } view;
    Menu menu(SampleMenu());
    std::vector<int> ran;
    menu.On(1, [&] { ran.push_back(1); });
    menu.On(2, [&] { ran.push_back(2); });
    menu.AttachView(&view);

    EXPECT_TRUE(menu.Choose(2));
    EXPECT_FALSE(menu.Choose(0));  // a separator's or submenu's "command"
    EXPECT_FALSE(menu.Choose(7));
    EXPECT_EQ(ran, (std::vector<int>{2}));

    menu.SetChecked(2, false);  // already clear
    menu.SetChecked(2, true);
    menu.SetCaption(1, "&Open");  // unchanged
    menu.SetCaption(1, "&Open...");
    menu.SetEnabled(1, true);  // available already
    menu.SetEnabled(1, false);
    EXPECT_EQ(view.changed, (std::vector<int>{2, 1, 1}));
    EXPECT_TRUE(menu.checked(2));
    EXPECT_FALSE(menu.Choose(1)) << "an unavailable item runs nothing";
    EXPECT_EQ(ran, (std::vector<int>{2}));
    EXPECT_EQ(menu.table()[0].items[0].caption, "&Open...");
}

}  // namespace
}  // namespace zv::ui
