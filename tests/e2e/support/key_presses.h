// Real keystrokes, as a user types them: they go to the window in the foreground.
#pragma once

#include <windows.h>

namespace zv::e2e {

// One key down and up, with the modifier (VK_CONTROL, VK_SHIFT; 0 for none) held.
void PressKey(WORD key, WORD modifier = 0);

}  // namespace zv::e2e
