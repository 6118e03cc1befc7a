// The message filter Windows (Vista and later) puts before the windows of an elevated
// program: messages from programs at a lower level, Explorer among them, are dropped
// unless the window lets them through.
#pragma once

#include <windows.h>

namespace zv::win32 {

// Lets `message` reach `window` from programs at the user's level: for this window alone
// where Windows can (7 and later), else for the whole process (Vista). Windows without
// the filter need nothing. False when Windows refused.
bool AllowFromLowerLevels(HWND window, UINT message);

}  // namespace zv::win32
