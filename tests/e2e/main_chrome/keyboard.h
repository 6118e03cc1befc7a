// The main window from the keyboard, with real keystrokes: the focus on a control after
// every dialog and message box, the editing shortcuts in the number boxes, Enter for Apply.
#pragma once

#include <windows.h>

namespace zv::e2e {

// The control that has the keyboard focus in the window's thread, or null.
HWND FocusedControl(HWND window);
// Whether the focus comes to rest on one of the window's controls (not the bare window).
bool FocusIsOnAControl(HWND window);

// In Manual mode, with the window in front and no dialog open.
void KeyboardEditsTheNumberBoxesAndEnterApplies(HWND main, DWORD process_id);

}  // namespace zv::e2e
