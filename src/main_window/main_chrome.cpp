#include "main_window/main_chrome.h"

#include <utility>

namespace zv::main_window {

MainChrome::MainChrome(ui::MenuTable menu_bar, ChromeHost& host)
    : menu(std::move(menu_bar)), host_(host) {
    BuildToolbar();
    StatusBar1.SetPanelText(kModePanel, "Mode");
    StatusBar1.SetPanelText(kOsPanel, "OS");
    StatusBar1.SetPanelText(kStatePanel, "State");
    menu.RequireHandlers();
    menu.SetChecked(main_menu::menu_toolbar, true);
    menu.SetChecked(main_menu::menu_status_bar, true);
}

void MainChrome::BuildToolbar() {
    for (const main_menu::ToolbarRow& row : main_menu::ToolbarRows()) {
        if (row.command == 0) {
            Toolbar1.AddSeparator();
            continue;
        }
        Toolbar1.AddButton({row.command, row.picture_only ? "" : row.caption, row.tooltip, 0});
    }
    Toolbar1.on_button_click = [this](int command) { Toolbar1_ButtonClick(command); };
}

void MainChrome::ShowPrompt() {
    StatusBar1.SetPanelText(kPromptPanel, kPromptText);
}

void MainChrome::ShowMode(const std::string& mode_word) {
    StatusBar1.SetPanelText(kModePanel, "Mode: " + mode_word);
}

void MainChrome::ShowWindowsName(const std::string& windows_name) {
    StatusBar1.SetPanelText(kOsPanel, "OS: " + windows_name);
}

void MainChrome::SetToolbarImages() {
    int position = 1;
    for (const main_menu::ToolbarRow& row : main_menu::ToolbarRows()) {
        if (row.picture != main_menu::ToolbarPicture::None) {
            Toolbar1.SetButtonImage(position, static_cast<int>(row.picture));
        }
        ++position;
    }
}

void MainChrome::ToggleToolbar() {
    int height = Toolbar1.bounds().height;
    bool showing = !Toolbar1.visible();
    int shift = showing ? height : -height;
    Toolbar1.SetVisible(showing);
    ResizeWindowBy(shift);
    host_.MoveSettingsFrameBy(shift);
    // The status bar moves even while hidden, so that it comes back in its place.
    StatusBar1.MoveBy(0, shift);
    menu.SetChecked(main_menu::menu_toolbar, showing);
}

void MainChrome::ToggleStatusBar() {
    bool showing = !StatusBar1.visible();
    StatusBar1.SetVisible(showing);
    ResizeWindowBy(showing ? kStatusBarToggleTwips : -kStatusBarToggleTwips);
    menu.SetChecked(main_menu::menu_status_bar, showing);
}

void MainChrome::ResizeWindowBy(int twips) {
    if (twips != 0) {
        host_.ResizeWindowHeightBy(twips);
    }
}

// The toolbar's Apply is the window's Apply button, which does nothing while disabled;
// File > Apply New Settings applies all the same.
void MainChrome::Toolbar1_ButtonClick(int command) {
    if (command != main_menu::menu_apply_new_settings || host_.IsApplyEnabled()) {
        menu.Choose(command);
    }
}

}  // namespace zv::main_window
