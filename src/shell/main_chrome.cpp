#include "shell/main_chrome.h"

#include <functional>
#include <utility>

namespace zv::shell {
namespace {

struct ToolbarDesign {
    const char* key;  // null for a separator
    const char* tooltip;
    int image;
};

// Buttons in order; the caption is the key, except for Help, which shows its picture only.
// The pictures are those of the image list the real toolbar is given (numbered from 1).
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
    {"Help", "Help", 7},
};

}  // namespace

MainChrome::MainChrome(MainCommands& commands, ChromeWindowPort& window, Launchers& launchers,
                       int windows_family)
    : commands_(commands), window_(window), launchers_(launchers), windows_family_(windows_family) {
    BuildToolbar();
    StatusBar1.SetPanelText(kModePanel, "Mode");
    StatusBar1.SetPanelText(kOsPanel, "OS");
    StatusBar1.SetPanelText(kStatePanel, "State");
    BindMenuCommands();
    menu.SetChecked(main_menu::mnuToolBar, true);
    menu.SetChecked(main_menu::mnuStatusBar, true);
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

void MainChrome::BindMenuCommands() {
    using namespace main_menu;
    const std::pair<int, std::function<void()>> handlers[] = {
        {mnuApplyNewSettings, [this] { commands_.Apply(); }},
        {mnuRegistryBackup, [this] { commands_.BackupRegistry(); }},
        {mnuPingConfiguration, [this] { commands_.ShowPingDialog(); }},
        {mnuRestore, [this] { commands_.Restore(); }},
        {mnuExit, [this] { commands_.CloseMainWindow(); }},
        {mnuToolBar, [this] { ToggleToolbar(); }},
        {mnuStatusBar, [this] { ToggleStatusBar(); }},
        {mnuSystem, [this] { launchers_.LaunchSystemApplet(); }},
        {mnuInternet, [this] { launchers_.LaunchInternetApplet(); }},
        {mnumodem, [this] { launchers_.LaunchModemApplet(windows_family_); }},
        {mnuNetwork, [this] { launchers_.LaunchNetworkApplet(windows_family_); }},
        {mnuCurrentSettings, [this] { commands_.ShowCurrentSettings(); }},
        {mnuUndoLastChange, [this] { commands_.UndoLastChange(); }},
        {mnuUndoAllChanges, [this] { commands_.UndoAllChanges(); }},
        {mnuExportForDeployment, [this] { commands_.ExportForDeployment(); }},
        {mnuFindLargestMtu, [this] { commands_.FindLargestMtu(); }},
        {mnuHelp1, [this] { launchers_.OpenHelpPage(); }},
        {mnutip, [this] { window_.ShowTipDialog(); }},
        {mnuwebsite1, [this] { launchers_.OpenWebSite(); }},
        {mnuemail1, [this] { launchers_.OpenFeedbackPage(); }},
    };
    for (const auto& [command, handler] : handlers) {
        menu.On(command, handler);
    }
    menu.RequireHandlers();
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
    menu.SetChecked(main_menu::mnuToolBar, showing);
}

void MainChrome::ToggleStatusBar() {
    bool showing = !StatusBar1.visible();
    StatusBar1.SetVisible(showing);
    ResizeWindowBy(showing ? kStatusBarToggleTwips : -kStatusBarToggleTwips);
    menu.SetChecked(main_menu::mnuStatusBar, showing);
}

void MainChrome::ResizeWindowBy(int twips) {
    if (twips != 0) {
        commands_.ResizeWindowHeightBy(twips);
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
        menu.Choose(main_menu::mnuRestore);
    } else if (key == "Backup") {
        menu.Choose(main_menu::mnuRegistryBackup);
    } else if (key == "Internet") {
        launchers_.LaunchInternetApplet();
    } else if (key == "System") {
        launchers_.LaunchSystemApplet();
    } else if (key == "Modem") {
        launchers_.LaunchModemApplet(windows_family_);
    } else if (key == "Network") {
        launchers_.LaunchNetworkApplet(windows_family_);
    } else if (key == "Help") {
        launchers_.OpenHelpPage();
    }
}

}  // namespace zv::shell
