// A window's controls as the keyboard and a screen reader meet them: the stops that Tab and
// Shift+Tab visit with real keystrokes, the access keys of the controls' captions, and the
// name and role oleacc reads for each control.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zv::e2e {

// The control of the window (a direct child) that holds the focus, or one of its own
// children does (the edit of a combo box); 0 when none.
int FocusedControlId(HWND window);

// Brings the window to the front and presses Tab (or Shift+Tab) until the focus comes back
// to where it started: the IDs visited, in order, starting with the one after the start.
std::vector<int> TabCycle(HWND window, bool backwards);

// The cycle turned to start at `first` (empty when `first` is not in it).
std::vector<int> StartingAt(const std::vector<int>& cycle, int first);

// The access key of a caption (after a single &), upper-cased; 0 for none.
char AccessKey(const std::string& caption);

// What oleacc tells of a control: its name, and its role in oleacc's words ("push button").
struct Accessible {
    std::string name;
    std::string role;
};
Accessible ReadAccessible(HWND control);

}  // namespace zv::e2e
