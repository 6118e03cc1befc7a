// What the companion's scenarios share: where it is, its hidden window, the check that its
// icon animates, and its Exit.
#pragma once

#include <windows.h>

#include <string>

#include "support/process.h"
#include "tray_observer.h"

namespace zv::e2e {

std::string VigiloExe();

// The hidden monitor window, or nullptr when none came up in time.
HWND WaitForMonitorWindow();

// Waits for the animation and checks that it cycles through the four pictures every
// 200 ms.
void CheckAnimation(const TrayObserver& tray, const std::string& when);

void WaitForIconGone(const TrayObserver& tray);

// Exit from the menu: the program ends and its icon goes.
void ExitRemovesIconAndEnds(const TrayObserver& tray, HWND monitor, ChildProcess& vigilo);

}  // namespace zv::e2e
