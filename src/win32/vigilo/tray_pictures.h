// The tray icon's pictures in the system's colours, drawn at run time for high contrast
// and the "Use System Colours" option: a globe with a dot going round it while connected,
// a crossed-out globe when not. Shape, not colour, tells the two apart.
#pragma once

#include <windows.h>

#include <vector>

namespace zv::win32 {

// The animation's frames, then "not connected", of `size` pixels square, in the order of
// imgVigilo; the caller destroys them.
std::vector<HICON> DrawTrayPictures(int size);

}  // namespace zv::win32
