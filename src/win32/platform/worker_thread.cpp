#include "win32/platform/worker_thread.h"

#include <process.h>

namespace zv::win32 {

HANDLE StartWorkerThread(unsigned(__stdcall* run)(void*), void* argument) {
    uintptr_t thread = _beginthreadex(nullptr, 0, run, argument, 0, nullptr);
    if (thread == 0) {
        run(argument);
        return nullptr;
    }
    return reinterpret_cast<HANDLE>(thread);
}

}  // namespace zv::win32
