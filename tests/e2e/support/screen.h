// What a person would see: a list of the windows on screen, and screenshots taken by the
// sandbox on request.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zv::e2e {

// Asks the sandbox for a screenshot <name>.png (through %ZV_CTL_DIR%) and waits for it;
// false outside the sandbox or when none came in time.
bool RequestScreenshot(const std::string& name, DWORD timeout_ms = 10000);

// A copy of part of the screen, as GetPixel would read it.
struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row from the top

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};
ScreenPixels PixelsOnScreen(const RECT& area);

// Prints every visible top-level window (process, class, caption, position) with its
// child controls (class, ID, text).
void PrintWindowsOnScreen();

}  // namespace zv::e2e
