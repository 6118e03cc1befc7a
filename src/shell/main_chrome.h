// The main window's chrome: its menu bar, toolbar Toolbar1 and status bar StatusBar1, with
// every handler. The handlers only trigger operations owned elsewhere (MainCommands, the
// launchers, the tip dialog); what they own themselves is the View toggles and the status
// texts.
#pragma once

#include <string>

#include "shell/launchers.h"
#include "shell/main_commands.h"
#include "shell/main_menu.h"
#include "ui/menu.h"
#include "ui/status_bar.h"
#include "ui/toolbar.h"

namespace zv::shell {

inline constexpr const char* kPromptText = "Choose your wanted Settings and Press \"Apply\"";

// The status bar's height as the View toggle counts it, whatever its real height.
inline constexpr int kStatusBarToggleTwips = 315;

// Status bar panels, numbered from 1.
enum StatusPanel { kPromptPanel = 1, kModePanel = 2, kOsPanel = 3, kStatePanel = 4 };

class MainChrome {
  public:
    // Throws std::logic_error when a menu item has no handler.
    MainChrome(MainCommands& commands, ChromeWindowPort& window, Launchers& launchers,
               int windows_family);
    MainChrome(const MainChrome&) = delete;
    MainChrome& operator=(const MainChrome&) = delete;

    ui::Menu menu{main_menu::MenuBar()};
    ui::Toolbar Toolbar1{"Toolbar1"};
    ui::StatusBar StatusBar1{"StatusBar1", 4};

    // Status texts: the prompt, "Mode: " + the mode word, "OS: " + the Windows name.
    void ShowPrompt();
    void ShowMode(const std::string& mode_word);
    void ShowWindowsName(const std::string& windows_name);

    // Gives the toolbar buttons their pictures (1-based images of the toolbar's strip).
    void SetToolbarImages();
    void ToggleToolbar();
    void ToggleStatusBar();
    // A toolbar button's key, compared case-sensitively.
    void Toolbar1_ButtonClick(const std::string& key);

  private:
    void BuildToolbar();
    void BindMenuCommands();
    void ResizeWindowBy(int twips);

    MainCommands& commands_;
    ChromeWindowPort& window_;
    Launchers& launchers_;
    int windows_family_;
};

}  // namespace zv::shell
