// The pictures of the main window's toolbar (ImageList1), drawn at run time so that they
// stay sharp at any screen DPI: 16x16 at 96 DPI, 24x24 at 144 DPI.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace zv::win32 {

// ImageList1's pictures, numbered from 1 as the toolbar's buttons refer to them.
enum ToolbarImage : int {
    kNetworkImage = 1,
    kModemImage = 2,
    kSystemImage = 3,
    kBackupImage = 4,
    kPingImage = 5,
    kInternetImage = 6,
    kHelpImage = 7,
    kTipImage = 8,
    kRestoreImage = 9,
    kApplyImage = 10,
    kToolbarImageCount = 10,
};

// The picture size for a screen DPI.
int ToolbarImageSize(int dpi);

// ImageList1 with its ten pictures of the given size; the caller destroys it.
HIMAGELIST CreateToolbarImages(int size);

// Draws one picture at (left, top) with the given size, for windows that show the same
// pictures (the tip dialog's bulb).
void DrawToolbarImage(HDC dc, int image, int left, int top, int size);

}  // namespace zv::win32
