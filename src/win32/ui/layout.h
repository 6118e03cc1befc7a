// Screen geometry: layouts are written in twips (1440 to the inch, 15 to a pixel at
// 96 DPI) and turned into pixels for the screen's DPI, so windows keep their proportions
// at 120 or 144 DPI.
#pragma once

#include <windows.h>

namespace zv::win32 {

// The logical DPI of the screen.
int ScreenDpi();

inline int TwipsToPixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}
inline int PixelsToTwips(int pixels, int dpi) {
    return MulDiv(pixels, 1440, dpi);
}

// The font Windows uses in message boxes, at the screen's DPI. The caller deletes it.
HFONT CreateMessageFont();

}  // namespace zv::win32
