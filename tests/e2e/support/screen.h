// What a person would see: a list of the windows on screen, and screenshots taken by the
// sandbox on request.
#pragma once

#include <windows.h>

#include <string>

namespace zv::e2e {

// Asks the sandbox for a screenshot <name>.png (through %ZV_CTL_DIR%) and waits for it;
// false outside the sandbox or when none came in time.
bool RequestScreenshot(const std::string& name, DWORD timeout_ms = 10000);

// Prints every visible top-level window (process, class, caption, position) with its
// child controls (class, ID, text).
void PrintWindowsOnScreen();

}  // namespace zv::e2e
