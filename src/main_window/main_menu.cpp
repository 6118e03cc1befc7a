#include "main_window/main_menu.h"

#include "main_window/main_view.h"

namespace zv::main_window::main_menu {

ui::MenuTable MenuBar(const MenuTargets& to) {
    MainView& w = to.window;
    launch::Launchers& l = to.launchers;
    const WindowsRelease& release = to.release;
    return {
        {"&File",
         {
             {"&Apply New Settings", mnuApplyNewSettings, [&w] { w.Apply(); }},
             {"&Registry Backup", mnuRegistryBackup, [&w] { w.BackupRegistry(); }},
             {"&Ping Configuration", mnuPingConfiguration,
              [&w] { w.OpenDialog(Dialog::PingConfiguration); }},
             ui::MenuSeparator(),
             {"Restore &Windows Original Settings", mnuRestore, [&w] { w.Restore(); }},
             ui::MenuSeparator(),
             {"&Exit", mnuExit, [&w] { w.CloseMainWindow(); }},
         }},
        {"&View",
         {
             {"&ToolBar", mnuToolBar, [&w] { w.chrome.ToggleToolbar(); }},
             {"&Status Bar", mnuStatusBar, [&w] { w.chrome.ToggleStatusBar(); }},
             ui::MenuSeparator(),
             {"&Control Panel",
              {
                  {"&Systems...", mnuSystem, [&l] { l.LaunchSystemApplet(); }},
                  {"&Internet...", mnuInternet, [&l] { l.LaunchInternetApplet(); }},
                  {"&Modems...", mnumodem, [&l, &release] { l.LaunchModemApplet(release); }},
                  {"&Networks...", mnuNetwork, [&l, &release] { l.LaunchNetworkApplet(release); }},
              }},
         }},
        {"&Tools",
         {
             {"&Current Settings...", mnuCurrentSettings, [&w] { w.ShowCurrentSettings(); }},
             {"&Undo Last Change", mnuUndoLastChange, [&w] { w.UndoLastChange(); }},
             {"Undo &All Changes", mnuUndoAllChanges, [&w] { w.UndoAllChanges(); }},
             {"&Export for Deployment...", mnuExportForDeployment,
              [&w] { w.ExportForDeployment(); }},
             ui::MenuSeparator(),
             {"&Network Stack...", mnuNetworkStack, [&w] { w.OpenDialog(Dialog::NetworkStack); }},
             {"&Find Largest MTU...", mnuFindLargestMtu, [&w] { w.FindLargestMtu(); }},
         }},
        {"&Help",
         {
             {"User's Guide", mnuHelp1, [&l] { l.OpenHelpPage(); }},
             {"&Tip of the Day", mnutip, [&tips = to.chrome_window] { tips.ShowTipDialog(); }},
             ui::MenuSeparator(),
             {"Contact us",
              {
                  {"Visit our Web Site", mnuwebsite1, [&l] { l.OpenWebSite(); }},
                  {"Email us", mnuemail1, [&l] { l.OpenFeedbackPage(); }},
              }},
         }},
    };
}

const std::vector<ToolbarRow>& ToolbarRows() {
    static const std::vector<ToolbarRow> rows = {
        {"Apply", mnuApplyNewSettings, ToolbarPicture::Apply, "Apply New Settings"},
        {"Ping", mnuPingConfiguration, ToolbarPicture::Ping, "Ping Configuration"},
        {nullptr, 0, ToolbarPicture::None, nullptr},
        {"Restore", mnuRestore, ToolbarPicture::Restore, "Restore Original Settings"},
        {"Backup", mnuRegistryBackup, ToolbarPicture::Backup, "Backup Registry"},
        {nullptr, 0, ToolbarPicture::None, nullptr},
        {"Internet", mnuInternet, ToolbarPicture::Internet, "Internet Options"},
        {"System", mnuSystem, ToolbarPicture::System, "System Options"},
        {"Modem", mnumodem, ToolbarPicture::Modem, "Modem Options"},
        {"Network", mnuNetwork, ToolbarPicture::Network, "Network Options"},
        {nullptr, 0, ToolbarPicture::None, nullptr},
        {"Help", mnuHelp1, ToolbarPicture::Help, "Help", true},
    };
    return rows;
}

}  // namespace zv::main_window::main_menu
