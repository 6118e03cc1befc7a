// Command and control IDs of the main window's menus, toolbar and status bar, named after
// their controls. The window and the test drivers share them: a driver invokes a menu item
// by sending WM_COMMAND with its ID, as another process cannot read the menu.
#pragma once

namespace zv::win32::frm_main {

enum ChromeId : int {
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
    // Tray popup
    mnuZorvane = 221,
    mnuPingConfig = 222,
    mnuPingNow = 223,
    mnuwebsite = 224,
    mnuemail = 225,
    mnuHelp = 226,
    mnuDisable = 227,
    // Help
    mnuHelp1 = 231,
    mnutip = 232,
    mnuwebsite1 = 233,
    mnuemail1 = 234,

    Toolbar1 = 300,
    // A toolbar button's command is Toolbar1 plus its 1-based position.
    Toolbar1FirstButton = 301,
    StatusBar1 = 320,
};

}  // namespace zv::win32::frm_main
