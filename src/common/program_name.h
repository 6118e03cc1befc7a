// The main program's name: its window caption, the title of its message boxes, the tooltip
// of the tray icon and the companion's menu item that starts it.
#pragma once

namespace zv {

inline constexpr char kProgramName[] = "Zorvane";

}  // namespace zv
