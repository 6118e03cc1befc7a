// The main window's chrome: the toolbar's buttons and what they run, the View toggles'
// geometry and the status texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window/main_chrome.h"

namespace zv::main_window {
namespace {

class FakeHost : public ChromeHost {
  public:
    bool apply_enabled = true;
    int window_height = 6000;
    int frame_top = 600;
    bool IsApplyEnabled() const override { return apply_enabled; }
    void ResizeWindowHeightBy(int twips) override { window_height += twips; }
    void MoveSettingsFrameBy(int twips) override { frame_top += twips; }
};

// The chrome over a menu whose every command records that it ran; the View rows toggle.
class MainChromeTest : public ::testing::Test {
  protected:
    ui::MenuTable Table() {
        ui::MenuTable rows = {
            {"&ToolBar", main_menu::menu_toolbar, [this] { chrome.ToggleToolbar(); }},
            {"&Status Bar", main_menu::menu_status_bar, [this] { chrome.ToggleStatusBar(); }},
            {"&Use System Colours", main_menu::menu_system_colours,
             [this] { chrome.ToggleSystemColours(); }}};
        for (const main_menu::ToolbarRow& row : main_menu::ToolbarRows()) {
            if (row.command != 0) {
                rows.push_back(
                    {row.caption, row.command, [this, row] { ran.push_back(row.command); }});
            }
        }
        return rows;
    }

    std::vector<int> ran;
    FakeHost host;
    MainChrome chrome{Table(), host};
};

// Each button carries the command of its row; a click runs that command, but the Apply
// button's only while the window's Apply button is enabled.
TEST_F(MainChromeTest, ToolbarButtonsCarryTheirCommandsAndImagesComeAfterSetToolbarImages) {
    using namespace main_menu;
    const auto& buttons = chrome.toolbar.buttons();
    std::vector<int> commands;
    for (const auto& b : buttons) {
        commands.push_back(b.command);
        EXPECT_EQ(b.image, 0) << b.caption;
    }
    const std::vector<int> expected = {menu_apply_new_settings,
                                       menu_ping_configuration,
                                       0,
                                       menu_restore,
                                       menu_registry_backup,
                                       0,
                                       menu_internet,
                                       menu_system,
                                       menu_modems,
                                       menu_networks,
                                       0,
                                       menu_users_guide};
    EXPECT_EQ(commands, expected);
    EXPECT_EQ(buttons[3].caption, "Restore");
    EXPECT_EQ(buttons[3].tooltip, "Restore Original Settings");
    EXPECT_EQ(buttons[11].caption, "");
    EXPECT_EQ(buttons[11].tooltip, "Help");

    host.apply_enabled = false;
    chrome.toolbar.ClickButton(menu_apply_new_settings);  // disabled Apply button: nothing
    host.apply_enabled = true;
    for (const auto& b : buttons) {
        if (!b.IsSeparator()) {
            chrome.toolbar.ClickButton(b.command);
        }
    }
    EXPECT_EQ(ran, (std::vector<int>{menu_apply_new_settings, menu_ping_configuration, menu_restore,
                                     menu_registry_backup, menu_internet, menu_system, menu_modems,
                                     menu_networks, menu_users_guide}));

    chrome.SetToolbarImages();
    std::vector<int> images;
    for (const auto& b : buttons) {
        images.push_back(b.image);
    }
    EXPECT_EQ(images, (std::vector<int>{10, 5, 0, 9, 4, 0, 6, 3, 2, 1, 0, 7}));
}

TEST_F(MainChromeTest, ToolbarToggleMovesEverythingAndComesBack) {
    chrome.toolbar.SetBounds({0, 0, 9000, 570});
    chrome.status_bar.SetBounds({0, 5000, 9000, 315});
    chrome.menu.Choose(main_menu::menu_status_bar);  // a hidden status bar still moves too
    int height = host.window_height;

    chrome.menu.Choose(main_menu::menu_toolbar);
    EXPECT_FALSE(chrome.toolbar.visible());
    EXPECT_FALSE(chrome.menu.checked(main_menu::menu_toolbar));
    EXPECT_EQ(host.window_height, height - 570);
    EXPECT_EQ(host.frame_top, 600 - 570);
    EXPECT_EQ(chrome.status_bar.bounds().top, 5000 - 570);

    chrome.menu.Choose(main_menu::menu_toolbar);
    EXPECT_TRUE(chrome.toolbar.visible());
    EXPECT_TRUE(chrome.menu.checked(main_menu::menu_toolbar));
    EXPECT_EQ(host.window_height, height);
    EXPECT_EQ(host.frame_top, 600);
    EXPECT_EQ(chrome.status_bar.bounds().top, 5000);
}

TEST_F(MainChromeTest, StatusBarToggleChangesHeightByItsFixedAmount) {
    chrome.status_bar.SetBounds({0, 5000, 9000, 400});  // its real height is not used
    chrome.ToggleStatusBar();
    EXPECT_FALSE(chrome.status_bar.visible());
    EXPECT_FALSE(chrome.menu.checked(main_menu::menu_status_bar));
    EXPECT_EQ(host.window_height, 6000 - 315);
    EXPECT_EQ(host.frame_top, 600);
    chrome.ToggleStatusBar();
    EXPECT_TRUE(chrome.status_bar.visible());
    EXPECT_TRUE(chrome.menu.checked(main_menu::menu_status_bar));
    EXPECT_EQ(host.window_height, 6000);
}

// The window keeps the choice and paints anew each time it changes, not when it is shown.
TEST_F(MainChromeTest, SystemColoursToggleTellsTheWindowEachChange) {
    int told = 0;
    chrome.on_colours_chosen = [&] { ++told; };
    chrome.ShowSystemColours(true);
    EXPECT_TRUE(chrome.SystemColours());
    EXPECT_EQ(told, 0);
    for (bool expected : {false, true}) {
        chrome.menu.Choose(main_menu::menu_system_colours);
        EXPECT_EQ(chrome.SystemColours(), expected);
        EXPECT_EQ(chrome.menu.checked(main_menu::menu_system_colours), expected);
    }
    EXPECT_EQ(told, 2);
}

TEST_F(MainChromeTest, StatusPanelsStartWithDesignTextsAndTakeRunTimeTexts) {
    EXPECT_EQ(chrome.status_bar.PanelCount(), 4);
    EXPECT_EQ(chrome.status_bar.PanelText(1), "");
    EXPECT_EQ(chrome.status_bar.PanelText(2), "Mode");
    EXPECT_EQ(chrome.status_bar.PanelText(3), "OS");
    EXPECT_EQ(chrome.status_bar.PanelText(4), "State");
    chrome.ShowPrompt();
    chrome.ShowMode("Optimize");
    chrome.ShowWindowsName("");
    EXPECT_EQ(chrome.status_bar.PanelText(1), "Choose your wanted Settings and Press \"Apply\"");
    EXPECT_EQ(chrome.status_bar.PanelText(2), "Mode: Optimize");
    EXPECT_EQ(chrome.status_bar.PanelText(3), "OS: ");
    EXPECT_EQ(chrome.status_bar.PanelText(4), "State");
}

}  // namespace
}  // namespace zv::main_window
