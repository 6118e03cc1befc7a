// Bounded waiting: every wait of a driver ends, so a hung program fails a check instead
// of hanging the run.
#pragma once

#include <windows.h>

namespace zv::e2e {

constexpr DWORD kDefaultTimeoutMs = 10000;
constexpr DWORD kPollMs = 50;

// Polls `done` until it returns true or the time is up; true when it did. Pending
// messages of the driver's own thread are let run meanwhile.
template <typename Predicate>
bool WaitUntil(Predicate done, DWORD timeout_ms = kDefaultTimeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) {
            return true;
        }
        if (GetTickCount() - start >= timeout_ms) {
            return false;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(kPollMs);
    }
}

}  // namespace zv::e2e
