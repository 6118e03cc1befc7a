// Starting a worker thread with the C runtime's _beginthreadex, so that the thread may use
// the runtime freely.
#pragma once

#include <windows.h>

namespace zv::win32 {

// Runs run(argument) on a new thread and returns its handle, to wait on and close. Where no
// thread can be made, runs it here and returns null: the caller waits, but the answer comes.
HANDLE StartWorkerThread(unsigned(__stdcall* run)(void*), void* argument);

}  // namespace zv::win32
