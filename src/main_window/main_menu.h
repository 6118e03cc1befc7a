// The main window's commands as tables, one row per command: the menu bar (File, View,
// Tools, Help) with each item's caption, command and handler, and the toolbar, whose rows
// name a command of the menu and a picture. The command values are the WM_COMMAND IDs of
// the real menu, which the test drivers send as well, since another process cannot read a
// menu under Wine.
#pragma once

#include <vector>

#include "common/windows_release.h"
#include "ui/menu.h"

namespace zv::launch {
class Launchers;
}

namespace zv::main_window {

class MainView;
class MainWindowPort;

namespace main_menu {

enum Command : int {
    // File
    menu_apply_new_settings = 201,
    menu_registry_backup = 202,
    menu_ping_configuration = 203,
    menu_restore = 204,
    menu_exit = 205,
    // View
    menu_toolbar = 211,
    menu_status_bar = 212,
    menu_system = 213,
    menu_internet = 214,
    menu_modems = 215,
    menu_networks = 216,
    menu_system_colours = 217,
    // Tools
    menu_current_settings = 221,
    menu_undo_last_change = 222,
    menu_export_for_deployment = 223,
    menu_find_largest_mtu = 224,
    menu_undo_all_changes = 225,
    menu_network_stack = 226,
    // Help
    menu_users_guide = 231,
    menu_tip_of_the_day = 232,
    menu_web_site = 233,
    menu_email = 234,
};

// The modal dialogs that hand nothing back, opened by one call of the window's port
// (MainWindowPort::ShowDialog) and made on the Win32 side from one table of them. Count
// stays last: the table checks that it has a row for every value.
enum class Dialog : int {
    StartupTip,
    PingConfiguration,
    NetworkStack,
    Count,
};

// What the rows' handlers reach: the window's operations (and its chrome's View toggles),
// the launchers, the tip of the day, and the Windows release the applets depend on, read
// when a handler runs.
struct MenuTargets {
    MainView& window;
    launch::Launchers& launchers;
    MainWindowPort& real_window;
    const WindowsRelease& release;
};

ui::MenuTable MenuBar(const MenuTargets& targets);

// The toolbar's pictures, numbered from 1 as the real toolbar's image list holds them.
enum class ToolbarPicture : int {
    None = 0,
    Network,
    Modem,
    System,
    Backup,
    Ping,
    Internet,
    Help,
    Tip,
    Restore,
    Apply,
};
inline constexpr int kToolbarPictureCount = static_cast<int>(ToolbarPicture::Apply);

// A toolbar button: its caption (unless it shows its picture only), the menu command it
// runs, its picture and tooltip. A row without a command is a separator.
struct ToolbarRow {
    const char* caption;
    int command;
    ToolbarPicture picture;
    const char* tooltip;
    bool picture_only = false;
};

const std::vector<ToolbarRow>& ToolbarRows();

}  // namespace main_menu
}  // namespace zv::main_window
