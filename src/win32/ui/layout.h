// Screen geometry: layouts are written in twips (1440 to the inch, 15 to a pixel at
// 96 DPI) and turned into pixels for the DPI of the window they are in, so windows keep
// their proportions at 120, 144 or 192 DPI and on monitors of different scales.
#pragma once

#include <windows.h>

namespace zv::win32 {

// Sent to a window of a per-monitor aware program when its DPI changes (Windows 8.1 and
// later): the new DPI in HIWORD(wParam), the suggested window rectangle in lParam.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// The logical DPI of the screen (the system's DPI).
int ScreenDpi();

// The DPI of the window (of its monitor, where Windows 10 says so); the screen's where
// Windows cannot tell or the window is null.
int WindowDpi(HWND window);

inline int TwipsToPixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}
inline int PixelsToTwips(int pixels, int dpi) {
    return MulDiv(pixels, 1440, dpi);
}

// The font Windows uses in message boxes, at the DPI. The caller deletes it.
HFONT CreateMessageFont(int dpi);

// The window rectangle, from (0, 0), around a client area of the size at the DPI.
RECT FrameForClient(int width, int height, DWORD style, bool menu, DWORD ex_style, int dpi);

// The program's icon resource at the small-icon size for the DPI; the caller destroys it.
HICON LoadSmallIcon(int resource, int dpi);

// A size of GetSystemMetrics (SM_CXSMICON...) at the DPI.
int SystemMetricForDpi(int index, int dpi);

}  // namespace zv::win32
