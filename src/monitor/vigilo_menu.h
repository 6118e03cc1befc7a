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
    mnuZorvane = 101,
    mnuPingConfiguration = 102,
    mnuPingNow = 103,
    mnuWebsite = 104,
    mnuemail = 105,
    mnuHelp = 106,
    mnuDisable = 107,
    mnuExit = 108,
    mnuHistory = 109,
};

// The popup has no menu bar above it; its Disable item starts as kDisableCaption.
ui::MenuTable Popup();

}  // namespace zv::monitor::vigilo_menu
