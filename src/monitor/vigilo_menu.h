// The companion's tray popup as a table. Each item's command is named after the item; the
// values are the WM_COMMAND IDs of the real menu, which the test driver sends as well.
#pragma once

#include "ui/menu.h"

namespace zv::monitor {

inline constexpr char kDisableCaption[] = "Disable";
inline constexpr char kEnableCaption[] = "Enable";

}  // namespace zv::monitor

namespace zv::monitor::vigilo_menu {

enum Command : int {
    menu_zorvane = 101,
    menu_ping_configuration = 102,
    menu_ping_now = 103,
    menu_web_site = 104,
    menu_email = 105,
    menu_help = 106,
    menu_disable = 107,
    menu_exit = 108,
    menu_history = 109,
    menu_test_responsiveness = 110,
    menu_outage_report = 111,
    menu_system_colours = 112,
};

// The popup has no menu bar above it; its Disable item starts as kDisableCaption.
ui::MenuTable Popup();

}  // namespace zv::monitor::vigilo_menu
