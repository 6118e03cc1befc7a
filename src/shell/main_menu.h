// The main window's menu bar (File, View, Tools, Help) as a table. Each item's command is
// named after the item; the values are the WM_COMMAND IDs of the real menu, which the test
// drivers send as well, since another process cannot read a menu under Wine.
#pragma once

#include "ui/menu.h"

namespace zv::shell::main_menu {

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
    // Help
    mnuHelp1 = 231,
    mnutip = 232,
    mnuwebsite1 = 233,
    mnuemail1 = 234,
};

ui::MenuTable MenuBar();

}  // namespace zv::shell::main_menu
