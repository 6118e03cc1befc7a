#include "win32/netstack/bounded_call.h"

#include <utility>

namespace zv::win32 {
namespace {

DWORD WINAPI RunWork(void* parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

}  // namespace

bool RunBounded(std::function<void()> work, DWORD wait_ms) {
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    HANDLE thread = CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    owned.release();  // the thread owns it now
    bool ended = WaitForSingleObject(thread, wait_ms) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

}  // namespace zv::win32
