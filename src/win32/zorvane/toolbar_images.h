// The pictures of the main window's toolbar, drawn at run time so that they
// stay sharp at any screen DPI (16x16 at 96 DPI, 24x24 at 144 DPI) and take the system's
// colours in the system scheme.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "main_window/main_menu.h"
#include "ui/palette.h"

namespace zv::win32 {

// The picture size for a screen DPI.
int ToolbarImageSize(int dpi);

// The image list with every toolbar picture, of the given size, in the order of their numbers;
// the caller destroys it.
HIMAGELIST CreateToolbarImages(int size, ui::Scheme scheme);

// Draws one picture at (left, top) with the given size, for windows that show the same
// pictures (the tip dialog's bulb).
void DrawToolbarImage(HDC dc, main_window::main_menu::ToolbarPicture picture, int left, int top,
                      int size, ui::Scheme scheme);

}  // namespace zv::win32
