// Command and control IDs of the main window's menus, toolbar and status bar, named after
// their controls. The window and the test drivers share them: a driver invokes a menu item
// by sending WM_COMMAND with its ID, as another process cannot read the menu.
#pragma once

#include "main_window/main_menu.h"

namespace zv::win32::frm_main {

// The menu items: their commands are their IDs.
using namespace main_window::main_menu;

enum ChromeId : int {
    Toolbar1 = 300,
    // A toolbar button's command is Toolbar1 plus its 1-based position.
    Toolbar1FirstButton = 301,
    StatusBar1 = 320,
};

}  // namespace zv::win32::frm_main
