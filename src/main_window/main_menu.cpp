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
             {"&Apply New Settings", menu_apply_new_settings, [&w] { w.Apply(); }},
             {"&Registry Backup", menu_registry_backup, [&w] { w.BackupRegistry(); }},
             {"&Ping Configuration", menu_ping_configuration,
              [&w] { w.OpenDialog(Dialog::PingConfiguration); }},
             ui::MenuSeparator(),
             {"Restore &Windows Original Settings", menu_restore, [&w] { w.Restore(); }},
             ui::MenuSeparator(),
             {"&Exit", menu_exit, [&w] { w.CloseMainWindow(); }},
         }},
        {"&View",
         {
             {"&ToolBar", menu_toolbar, [&w] { w.chrome.ToggleToolbar(); }},
             {"&Status Bar", menu_status_bar, [&w] { w.chrome.ToggleStatusBar(); }},
             {"&Use System Colours", menu_system_colours, [&w] { w.chrome.ToggleSystemColours(); }},
             ui::MenuSeparator(),
             {"&Control Panel",
              {
                  {"&Systems...", menu_system, [&l] { l.LaunchSystemApplet(); }},
                  {"&Internet...", menu_internet, [&l] { l.LaunchInternetApplet(); }},
                  {"&Modems...", menu_modems, [&l, &release] { l.LaunchModemApplet(release); }},
                  {"&Networks...", menu_networks,
                   [&l, &release] { l.LaunchNetworkApplet(release); }},
              }},
         }},
        {"&Tools",
         {
             {"&Current Settings...", menu_current_settings, [&w] { w.ShowCurrentSettings(); }},
             {"&Undo Last Change", menu_undo_last_change, [&w] { w.UndoLastChange(); }},
             {"Undo &All Changes", menu_undo_all_changes, [&w] { w.UndoAllChanges(); }},
             {"&Export for Deployment...", menu_export_for_deployment,
              [&w] { w.ExportForDeployment(); }},
             ui::MenuSeparator(),
             {"&Network Stack...", menu_network_stack,
              [&w] { w.OpenDialog(Dialog::NetworkStack); }},
             {"&Find Largest MTU...", menu_find_largest_mtu, [&w] { w.FindLargestMtu(); }},
         }},
        {"&Help",
         {
             {"User's Guide", menu_users_guide, [&l] { l.OpenHelpPage(); }},
             {"&Tip of the Day", menu_tip_of_the_day,
              [&real = to.real_window] { real.ShowTipDialog(); }},
             ui::MenuSeparator(),
             {"Contact us",
              {
                  {"Visit our Web Site", menu_web_site, [&l] { l.OpenWebSite(); }},
                  {"Email us", menu_email, [&l] { l.OpenFeedbackPage(); }},
              }},
         }},
    };
}

const std::vector<ToolbarRow>& ToolbarRows() {
    static const std::vector<ToolbarRow> rows = {
        {"Apply", menu_apply_new_settings, ToolbarPicture::Apply, "Apply New Settings"},
        {"Ping", menu_ping_configuration, ToolbarPicture::Ping, "Ping Configuration"},
        {nullptr, 0, ToolbarPicture::None, nullptr},
        {"Restore", menu_restore, ToolbarPicture::Restore, "Restore Original Settings"},
        {"Backup", menu_registry_backup, ToolbarPicture::Backup, "Backup Registry"},
        {nullptr, 0, ToolbarPicture::None, nullptr},
        {"Internet", menu_internet, ToolbarPicture::Internet, "Internet Options"},
        {"System", menu_system, ToolbarPicture::System, "System Options"},
        {"Modem", menu_modems, ToolbarPicture::Modem, "Modem Options"},
        {"Network", menu_networks, ToolbarPicture::Network, "Network Options"},
        {nullptr, 0, ToolbarPicture::None, nullptr},
        {"Help", menu_users_guide, ToolbarPicture::Help, "Help", true},
    };
    return rows;
}

}  // namespace zv::main_window::main_menu
