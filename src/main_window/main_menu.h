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

class ChromeWindowPort;
class MainView;

namespace main_menu {

enum Command : int {
    // File
    mnuApplyNewSettings = 201,
    mnuRegistryBackup = 202,
    mnuPingConfiguration = 203,
    mnuRestore = 204,
    mnuExit = 205,
    // View
    mnuToolBar = 211,
    mnuStatusBar = 212,
    mnuSystem = 213,
    mnuInternet = 214,
    mnumodem = 215,
    mnuNetwork = 216,
    // Tools
    mnuCurrentSettings = 221,
    mnuUndoLastChange = 222,
    mnuExportForDeployment = 223,
    mnuFindLargestMtu = 224,
    mnuUndoAllChanges = 225,
    mnuNetworkStack = 226,
    // Help
    mnuHelp1 = 231,
    mnutip = 232,
    mnuwebsite1 = 233,
    mnuemail1 = 234,
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
    ChromeWindowPort& chrome_window;
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
