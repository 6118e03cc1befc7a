#include "win32/platform/worker_thread.h"

#include <process.h>

#include <memory>

namespace zv::win32 {
namespace {

using Work = std::function<void()>;

unsigned __stdcall RunWork(void* handed) {
    std::unique_ptr<Work> work(static_cast<Work*>(handed));
    (*work)();
    return 0;
}

}  // namespace

HANDLE StartWorker(std::function<void()> work) {
    auto handed = std::make_unique<Work>(std::move(work));
    uintptr_t thread = _beginthreadex(nullptr, 0, &RunWork, handed.get(), 0, nullptr);
    if (thread == 0) {
        RunWork(handed.release());
        return nullptr;
    }
    handed.release();  // the thread owns it now
    return reinterpret_cast<HANDLE>(thread);
}

bool FinishWorker(HANDLE& thread, DWORD timeout_ms) {
    if (thread == nullptr) {
        return true;
    }
    if (WaitForSingleObject(thread, timeout_ms) != WAIT_OBJECT_0) {
        return false;
    }
    CloseHandle(thread);
    thread = nullptr;
    return true;
}

}  // namespace zv::win32
