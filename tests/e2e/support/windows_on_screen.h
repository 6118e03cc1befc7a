// Finding the windows of the programs under test and reading their text. Text is read
// with the wide functions and turned into the ANSI code page: the ANSI ones return UTF-16
// for another process's controls under Wine.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/wait.h"

namespace zv::e2e {

struct WindowQuery {
    DWORD process_id = 0;    // 0: any process
    std::string class_name;  // empty: any class
    std::string caption;     // empty: any caption
    bool visible_only = true;
};

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query);

// The first matching window, or nullptr when none came up in time.
HWND WaitForWindow(const WindowQuery& query, DWORD timeout_ms = kDefaultTimeoutMs);

// True when the window was destroyed or hidden in time.
bool WaitForWindowGone(HWND window, DWORD timeout_ms = kDefaultTimeoutMs);

std::string WindowText(HWND window);
std::string WindowClass(HWND window);

// The direct child with that control ID, or nullptr.
HWND FindControl(HWND parent, int control_id);

// Clicks a button as its window hears it: BN_CLICKED posted, not sent, so that a modal box
// the click opens leaves the driver free.
void PostClick(HWND window, int control_id);

// A real click of the mouse at a point of the screen, as a user makes it: whatever window
// is there gets it, and a program may take the foreground from it.
void MouseClickAt(POINT point, bool right = false);

// A visible top-level window of this process to own a modal window under test.
HWND MakeOwnerWindow();

// Runs `modal` here while `helper` drives its window from a thread of its own (the runtime
// has no std::thread); false when that thread could not start.
bool RunModalWithHelper(const std::function<void()>& modal, const std::function<void()>& helper);

// The child controls, depth first, in Z order.
std::vector<HWND> ChildControls(HWND parent);

}  // namespace zv::e2e
