// Waits of the stack's ports, bounded, and never a frozen window: a slow call (WMI) runs on
// a thread of its own that keeps what it works on alive by itself, so one that is given up
// on finishes or dies with the process; and a wait on a thread with windows (the main
// window's Undo) keeps them painted and answering, with their input held off as a modal
// dialog's owner's is, so that nothing starts a second change meanwhile.
#pragma once

#include <windows.h>

#include <functional>

namespace zv::win32 {

// True when the handle was signalled within the wait.
bool WaitKeepingWindowsAlive(HANDLE handle, DWORD wait_ms);

// True when `work` ran to its end within the wait; false when it could not be started or
// is still running (it then goes on alone, with its own copy of `work`).
bool RunBounded(std::function<void()> work, DWORD wait_ms);

}  // namespace zv::win32
