#include "shell/main_chrome.h"

#include "shell/tray_icon.h"

namespace zv::shell {
namespace {

constexpr const char* kProgramName = "Zorvane";
constexpr const char* kDisableCaption = "Disable";
constexpr const char* kEnableCaption = "Enable";

struct ToolbarDesign {
    const char* key;  // null for a separator
    const char* tooltip;
    int image;
};

// Buttons in order; the caption is the key, except for Help, which shows its picture only.
constexpr ToolbarDesign kToolbarDesign[] = {
    {"Apply", "Apply New Settings", 10},
    {"Ping", "Ping Configuration", 5},
    {nullptr, nullptr, 0},
    {"Restore", "Restore Original Settings", 9},
    {"Backup", "Backup Registry", 4},
    {nullptr, nullptr, 0},
    {"Internet", "Internet Options", 6},
    {"System", "System Options", 3},
    {"Modem", "Modem Options", 2},
    {"Network", "Network Options", 1},
    {nullptr, nullptr, 0},
    {"Help", "Help", 0},
};

}  // namespace

MainChrome::MainChrome(MainCommands& commands, ChromeWindowPort& window, Launchers& launchers,
                       ui::MessageBoxPort& messages, int windows_family)
    : commands_(commands),
      window_(window),
      launchers_(launchers),
      messages_(messages),
      windows_family_(windows_family) {
    BuildToolbar();
    StatusBar1.SetPanelText(kModePanel, "Mode");
    StatusBar1.SetPanelText(kOsPanel, "OS");
    StatusBar1.SetPanelText(kStatePanel, "State");
    BindMenuHandlers();
}

void MainChrome::BuildToolbar() {
    for (const ToolbarDesign& design : kToolbarDesign) {
        if (design.key == nullptr) {
            Toolbar1.AddSeparator();
            continue;
        }
        std::string key = design.key;
        Toolbar1.AddButton({key, key == "Help" ? "" : key, design.tooltip, 0});
    }
    Toolbar1.on_button_click = [this](const std::string& key) { Toolbar1_ButtonClick(key); };
}

void MainChrome::BindMenuHandlers() {
    BindFileAndViewMenus();
    BindTrayAndHelpMenus();
}

void MainChrome::BindFileAndViewMenus() {
    menu.mnuApplyNewSettings.on_click = [this] { commands_.Apply(); };
    menu.mnuRegistryBackup.on_click = [this] { commands_.BackupRegistry(); };
    menu.mnuPingConfiguration.on_click = [this] { commands_.ShowPingDialog(); };
    menu.mnuRestore.on_click = [this] { commands_.Restore(); };
    menu.mnuExit.on_click = [this] { commands_.CloseMainWindow(); };
    menu.mnuToolBar.on_click = [this] { ToggleToolbar(); };
    menu.mnuStatusBar.on_click = [this] { ToggleStatusBar(); };
    menu.mnuSystem.on_click = [this] { launchers_.LaunchSystemApplet(); };
    menu.mnuInternet.on_click = [this] { launchers_.LaunchInternetApplet(); };
    menu.mnumodem.on_click = [this] { launchers_.LaunchModemApplet(); };
    menu.mnuNetwork.on_click = [this] { launchers_.LaunchNetworkApplet(windows_family_); };
}

void MainChrome::BindTrayAndHelpMenus() {
    menu.mnuZorvane.on_click = [this] { commands_.ShowMainWindow(); };
    menu.mnuPingConfig.on_click = [this] { commands_.ShowPingDialog(); };
    menu.mnuPingNow.on_click = [this] { commands_.PingNow(); };
    menu.mnuwebsite.on_click = [this] { launchers_.OpenWebSite(); };
    menu.mnuemail.on_click = [this] { launchers_.OpenFeedbackPage(); };
    menu.mnuHelp.on_click = [this] { launchers_.OpenHelpPage(); };
    menu.mnuDisable.on_click = [this] { ToggleDisable(); };
    menu.mnuHelp1.on_click = [this] { launchers_.OpenHelpPage(); };
    menu.mnutip.on_click = [this] { window_.ShowTipDialog(); };
    menu.mnuwebsite1.on_click = [this] { menu.mnuwebsite.Click(); };
    menu.mnuemail1.on_click = [this] { menu.mnuemail.Click(); };
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
    for (const ToolbarDesign& design : kToolbarDesign) {
        if (design.image != 0) {
            Toolbar1.SetButtonImage(position, design.image);
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
    commands_.MoveSettingsFrameBy(shift);
    // The status bar moves even while hidden, so that it comes back in its place.
    StatusBar1.MoveBy(0, shift);
    menu.mnuToolBar.SetChecked(showing);
}

void MainChrome::ToggleStatusBar() {
    bool showing = !StatusBar1.visible();
    StatusBar1.SetVisible(showing);
    ResizeWindowBy(showing ? kStatusBarToggleTwips : -kStatusBarToggleTwips);
    menu.mnuStatusBar.SetChecked(showing);
}

void MainChrome::ResizeWindowBy(int twips) {
    if (twips != 0) {
        commands_.ResizeWindowHeightBy(twips);
    }
}

void MainChrome::ToggleDisable() {
    if (menu.mnuDisable.caption() != kDisableCaption) {
        menu.mnuDisable.SetCaption(kDisableCaption);
        return;
    }
    // Only the caption changes: the applied settings stay and nothing is stopped.
    menu.mnuDisable.SetCaption(kEnableCaption);
    messages_.Show({PingDisabledMessage(), kProgramName, ui::MessageButtons::Ok,
                    ui::MessageIcon::Information, 1});
}

void MainChrome::HandleTrayMouse(int code) {
    switch (code) {
        case kTrayLeftButtonUp:
        case kTrayLeftDoubleClick:
            window_.BringToForeground();
            commands_.ShowMainWindow();
            break;
        case kTrayRightButtonUp:
            window_.BringToForeground();
            window_.PopupTrayMenu();
            break;
        default:
            break;
    }
}

void MainChrome::Toolbar1_ButtonClick(const std::string& key) {
    if (key == "Apply") {
        if (commands_.IsApplyEnabled()) {
            commands_.Apply();
        }
    } else if (key == "Ping") {
        commands_.ShowPingDialog();
    } else if (key == "Restore") {
        menu.mnuRestore.Click();
    } else if (key == "Backup") {
        menu.mnuRegistryBackup.Click();
    } else if (key == "Internet") {
        launchers_.LaunchInternetApplet();
    } else if (key == "System") {
        launchers_.LaunchSystemApplet();
    } else if (key == "Modem") {
        launchers_.LaunchModemApplet();
    } else if (key == "Network") {
        launchers_.LaunchNetworkApplet(windows_family_);
    } else if (key == "Help") {
        launchers_.OpenHelpPage();
    }
}

}  // namespace zv::shell
