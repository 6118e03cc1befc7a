// Work the window's thread hands to a thread of its own, so that the window never waits for
// it. When Windows gives no thread, the work runs on the caller's thread instead: the window
// waits, but the work gets done.
#pragma once

#include <windows.h>

#include <functional>

namespace zv::win32 {

// The handle of the thread that runs `work`, for FinishWorker; nullptr when the work ran
// on this thread and is done.
HANDLE StartWorker(std::function<void()> work);

// Waits up to timeout_ms for the thread to end; once it has, closes its handle and sets it
// to nullptr. True when no thread is left running (so also for nullptr).
bool FinishWorker(HANDLE& thread, DWORD timeout_ms);

}  // namespace zv::win32
