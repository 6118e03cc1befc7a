// Runs a slow call (WMI) on a thread of its own and waits a bounded time for it: a provider
// that hangs costs the caller the wait, never the program. The thread keeps what it works
// on alive by itself, so one that is given up on finishes or dies with the process.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace zv::win32 {

// True when `work` ran to its end within the wait; false when it could not be started or
// is still running (it then goes on alone, with its own copy of `work`).
bool RunBounded(std::function<void()> work, DWORD wait_ms);

}  // namespace zv::win32
