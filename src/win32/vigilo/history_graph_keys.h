// The history graph's part for the keyboard and for screen readers: a child window over the
// graph that Tab stops on, named after what the graph shows, which hands the graph's keys
// and its focus changes to the window. It covers nothing (its region is empty): the window
// goes on drawing the graph, with a focus rectangle while the keys go to it, and taking the
// mouse over it.
#pragma once

#include <windows.h>

namespace zv::win32 {

// Sent to the window: wparam the virtual key pressed (or, with lparam 1, the character typed)
// on the graph.
inline constexpr UINT kGraphKeyMessage = WM_APP + 36;
// Sent to the window when the graph gains or loses the focus.
inline constexpr UINT kGraphFocusMessage = WM_APP + 37;

// Creates it in the window's tab order, where the graph stands in reading order.
HWND CreateGraphKeys(HWND window, int id);

}  // namespace zv::win32
