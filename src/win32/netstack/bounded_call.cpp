#include "win32/netstack/bounded_call.h"

#include <memory>
#include <utility>
#include <vector>

#include "win32/ui/window_base.h"

namespace zv::win32 {
namespace {

DWORD WINAPI RunWork(void* parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

BOOL CALLBACK AddEnabledWindow(HWND window, LPARAM windows) {
    if (IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    }
    return TRUE;
}

// Pumps the thread's messages until the handle is signalled or the wait is over; a quit
// message is posted again for the loop that owns it.
bool PumpUntil(HANDLE handle, DWORD wait_ms) {
    const DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < wait_ms; elapsed = GetTickCount() - start) {
        DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, wait_ms - elapsed, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            return true;
        }
        if (woke != WAIT_OBJECT_0 + 1) {
            return false;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
            }
            DispatchOneMessage(message);
        }
    }
    return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
}

}  // namespace

bool WaitKeepingWindowsAlive(HANDLE handle, DWORD wait_ms) {
    if (!IsGUIThread(FALSE)) {
        return WaitForSingleObject(handle, wait_ms) == WAIT_OBJECT_0;
    }
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), AddEnabledWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        EnableWindow(window, FALSE);
    }
    bool signalled = PumpUntil(handle, wait_ms);
    for (HWND window : windows) {
        EnableWindow(window, TRUE);
    }
    return signalled;
}

bool RunBounded(std::function<void()> work, DWORD wait_ms) {
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    HANDLE thread = CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    owned.release();  // the thread owns it now
    bool ended = WaitKeepingWindowsAlive(thread, wait_ms);
    CloseHandle(thread);
    return ended;
}

}  // namespace zv::win32
