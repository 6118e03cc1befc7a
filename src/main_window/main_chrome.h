// The main window's chrome: its menu bar, toolbar and status bar. The
// menu's rows carry their handlers (see main_menu.h); a toolbar button carries the command
// of its row and runs it. What the chrome owns itself is the View toggles and the status texts.
#pragma once

#include <functional>
#include <string>

#include "main_window/main_menu.h"
#include "ui/menu.h"
#include "ui/status_bar.h"
#include "ui/toolbar.h"

namespace zv::main_window {

inline constexpr const char* kPromptText = "Choose your wanted Settings and Press \"Apply\"";

// The status bar's height as the View toggle counts it, whatever its real height.
inline constexpr int kStatusBarToggleTwips = 315;

// Status bar panels, numbered from 1.
enum StatusPanel { kPromptPanel = 1, kModePanel = 2, kOsPanel = 3, kStatePanel = 4 };

// What the chrome asks of the window it sits in: whether its Apply button is enabled, and
// its geometry in twips (the outer height, and the frame that holds all settings, settings_frame,
// which moves with the toolbar).
class ChromeHost {
  public:
    virtual ~ChromeHost() = default;
    virtual bool IsApplyEnabled() const = 0;
    virtual void ResizeWindowHeightBy(int twips) = 0;
    virtual void MoveSettingsFrameBy(int twips) = 0;
};

class MainChrome {
  public:
    // Stops the program (ProgramFault) when a menu item has no handler.
    MainChrome(ui::MenuTable menu_bar, ChromeHost& host);
    MainChrome(const MainChrome&) = delete;
    MainChrome& operator=(const MainChrome&) = delete;

    ui::Menu menu;
    ui::Toolbar toolbar;
    ui::StatusBar status_bar{4};

    // Status texts: the prompt, "Mode: " + the mode word, "OS: " + the Windows name.
    void ShowPrompt();
    void ShowMode(const std::string& mode_word);
    void ShowWindowsName(const std::string& windows_name);

    // Gives the toolbar buttons their pictures (1-based images of the toolbar's strip).
    void SetToolbarImages();
    void ToggleToolbar();
    void ToggleStatusBar();
    // "Use System Colours": the check mark, then on_colours_chosen, which keeps the choice
    // and paints anew.
    void ToggleSystemColours();
    void ShowSystemColours(bool chosen);
    bool SystemColours() const;
    std::function<void()> on_colours_chosen;
    // A toolbar button's click, with the menu command the button carries.
    void OnToolbarButton(int command);

  private:
    void BuildToolbar();
    void ResizeWindowBy(int twips);

    ChromeHost& host_;
};

}  // namespace zv::main_window
