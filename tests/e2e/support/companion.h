// What the companion's scenarios share: where it is, its options and log, its hidden window,
// the check that its icon animates, what its windows show on the screen, and its Exit.
#pragma once

#include <windows.h>

#include <string>

#include "support/process.h"
#include "support/tray_observer.h"

namespace zv::e2e {

std::string VigiloExe();
std::string LogPath();

// Sets one of its options under HKCU\Software\Zorvane\Vigilo, as read at its start.
void SetCompanionOption(const char* name, DWORD value);
void SetCompanionOption(const char* name, const std::string& value, DWORD kind = REG_SZ);

// The hidden monitor window, or nullptr when none came up in time.
HWND WaitForMonitorWindow();

// Waits for the animation and checks that it cycles through the four pictures every
// 200 ms.
void CheckAnimation(const TrayObserver& tray, const std::string& when);

// Waits up to WAIT_MS for the icon's tip to match PATTERN (a regular expression), checks it
// and asks for a screenshot named SHOT: Wine's tray tooltip may still show the text of
// before for a moment after the icon changed.
void CheckTrayTip(const TrayObserver& tray, const std::string& pattern, const std::string& shot,
                  DWORD wait_ms);

struct ColourCount {
    long pixels = 0;
    long columns = 0;  // columns holding at least one such pixel
};

// The window's client area as it is on the screen, counted for one colour.
ColourCount CountOnScreen(HWND window, COLORREF colour);

// The plot inside the history graph's frame, in client pixels.
RECT GraphPlotRect(HWND history);

// The columns of the history graph's band for outages of one place. The graph's legend
// shows a swatch of every place's colour: the band is what that colour covers beyond the
// swatch of a place with no outage.
long OutageBandColumns(HWND history, COLORREF band, COLORREF place_without_outage);

// The probes the history window's loss line counts ("... lost probes of 6 ..." -> 6); -1
// when it names none.
int ProbesShown(HWND history);

void WaitForIconGone(const TrayObserver& tray);

// Exit from the menu: the program ends and its icon goes.
void ExitRemovesIconAndEnds(const TrayObserver& tray, HWND monitor, ChildProcess& vigilo);

}  // namespace zv::e2e
