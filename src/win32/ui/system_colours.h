// The programs' colour scheme read from Windows (high contrast, the dark app setting) and
// its colours as GDI takes them; the title bar made dark where Windows can.
#pragma once

#include <windows.h>

#include "ui/palette.h"

namespace zv::win32 {

// The scheme for the programs' own option and what Windows says now.
ui::Scheme CurrentScheme(bool prefers_system_colours);

// A role's colour in the scheme; `drawn` where the role keeps a picture's own colour.
COLORREF SchemeColour(ui::Scheme scheme, ui::Role role, COLORREF drawn = 0);

// Windows 11 draws the title bar dark when asked to, which every window does while the user
// prefers dark apps (and high contrast is off); elsewhere nothing happens. The window is
// asked only when that differs from what it was asked last (`dark_now`, false for a new
// window, whose title bar is light): a light title bar, Windows' default, and a change of
// some other setting cost no load of dwmapi. Returns what the title bar is asked to be now.
bool FollowDarkTitleBar(HWND window, bool dark_now);

// True for the messages after which the scheme may differ: WM_SYSCOLORCHANGE and
// WM_SETTINGCHANGE (high contrast, or "ImmersiveColorSet" for the dark app setting).
bool ColoursMayHaveChanged(UINT message);

// True when the message changes what a window painted in the `painted` scheme shows: the
// system's colours changed, or a setting gave another scheme. Windows broadcasts
// WM_SETTINGCHANGE for many settings that change neither.
bool ColoursChange(UINT message, ui::Scheme painted, bool prefers_system_colours);

}  // namespace zv::win32
