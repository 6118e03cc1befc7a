#include "main_window/main_chrome.h"

#include <utility>

namespace zv::main_window {

MainChrome::MainChrome(ui::MenuTable menu_bar, ChromeHost& host)
    : menu(std::move(menu_bar)), host_(host) {
    BuildToolbar();
    status_bar.SetPanelText(kModePanel, "Mode");
    status_bar.SetPanelText(kOsPanel, "OS");
    status_bar.SetPanelText(kStatePanel, "State");
    menu.RequireHandlers();
    menu.SetChecked(main_menu::menu_toolbar, true);
    menu.SetChecked(main_menu::menu_status_bar, true);
}

void MainChrome::BuildToolbar() {
    for (const main_menu::ToolbarRow& row : main_menu::ToolbarRows()) {
        if (row.command == 0) {
            toolbar.AddSeparator();
            continue;
        }
        toolbar.AddButton({row.command, row.picture_only ? "" : row.caption, row.tooltip, 0});
    }
    toolbar.on_button_click = [this](int command) { OnToolbarButton(command); };
}

void MainChrome::ShowPrompt() {
    status_bar.SetPanelText(kPromptPanel, kPromptText);
}

void MainChrome::ShowMode(const std::string& mode_word) {
    status_bar.SetPanelText(kModePanel, "Mode: " + mode_word);
}

void MainChrome::ShowWindowsName(const std::string& windows_name) {
    status_bar.SetPanelText(kOsPanel, "OS: " + windows_name);
}

void MainChrome::SetToolbarImages() {
    int position = 1;
    for (const main_menu::ToolbarRow& row : main_menu::ToolbarRows()) {
        if (row.picture != main_menu::ToolbarPicture::None) {
            toolbar.SetButtonImage(position, static_cast<int>(row.picture));
        }
        ++position;
    }
}

void MainChrome::ToggleToolbar() {
    int height = toolbar.bounds().height;
    bool showing = !toolbar.visible();
    int shift = showing ? height : -height;
    toolbar.SetVisible(showing);
    ResizeWindowBy(shift);
    host_.MoveSettingsFrameBy(shift);
    // The status bar moves even while hidden, so that it comes back in its place.
    status_bar.MoveBy(0, shift);
    menu.SetChecked(main_menu::menu_toolbar, showing);
}

void MainChrome::ToggleStatusBar() {
    bool showing = !status_bar.visible();
    status_bar.SetVisible(showing);
    ResizeWindowBy(showing ? kStatusBarToggleTwips : -kStatusBarToggleTwips);
    menu.SetChecked(main_menu::menu_status_bar, showing);
}

void MainChrome::ToggleSystemColours() {
    ShowSystemColours(!SystemColours());
    if (on_colours_chosen) {
        on_colours_chosen();
    }
}

void MainChrome::ShowSystemColours(bool chosen) {
    menu.SetChecked(main_menu::menu_system_colours, chosen);
}

bool MainChrome::SystemColours() const {
    return menu.checked(main_menu::menu_system_colours);
}

void MainChrome::ResizeWindowBy(int twips) {
    if (twips != 0) {
        host_.ResizeWindowHeightBy(twips);
    }
}

// The toolbar's Apply is the window's Apply button, which does nothing while disabled;
// File > Apply New Settings applies all the same.
void MainChrome::OnToolbarButton(int command) {
    if (command != main_menu::menu_apply_new_settings || host_.IsApplyEnabled()) {
        menu.Choose(command);
    }
}

}  // namespace zv::main_window
