// Command IDs of frmVigilo's tray menu and its timers, shared with the test driver, and
// the resource IDs of imgVigilo's pictures.
#pragma once

#include "monitor/vigilo_menu.h"
#include "win32/vigilo/vigilo_res.h"

namespace zv::vigilo_ids {

// The menu items: their commands are their IDs.
using namespace monitor::vigilo_menu;

constexpr unsigned TimerVigilo = 1;
constexpr unsigned TimerIcon = 2;
constexpr unsigned TimerPing = 3;

// imgVigilo: image n of the list is the icon resource IDI_IMGVIGILO1 + n - 1.
constexpr unsigned imgVigilo1 = IDI_IMGVIGILO1;
constexpr int imgVigiloCount = 5;

}  // namespace zv::vigilo_ids
