#include "support/zorvane_session.h"

#include "support/check.h"
#include "fakes/program_texts.h"
#include "support/files.h"
#include "support/wait.h"

namespace zv::e2e {

namespace {

// A top-level window of the driver that notes when Windows asks every program whether
// the session may end, as it does before a restart, and says no: the sandbox, the driver
// with it, must outlive the restart it checks.
struct SessionWatcher {
    static inline bool query_seen = false;

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_QUERYENDSESSION) {
            query_seen = true;
            return FALSE;
        }
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
    static BOOL WINAPI ConsoleControl(DWORD) { return TRUE; }

    SessionWatcher() {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = Procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "ZvSessionWatcher";
        RegisterClassA(&window_class);
        SetConsoleCtrlHandler(ConsoleControl, TRUE);
        window = CreateWindowExA(0, "ZvSessionWatcher", "session watcher", WS_OVERLAPPED, 0, 0, 10,
                                 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~SessionWatcher() { DestroyWindow(window); }

    HWND window = nullptr;
};

}  // namespace

void CheckRestartRequested(ZorvaneSession& zorvane) {
    Context context("restart");
    SessionWatcher watcher;
    E2E_CHECK(watcher.window != nullptr);
    zorvane.Answer(test_texts::kRestartQuestion, IDYES);
    E2E_CHECK(WaitUntil([] { return SessionWatcher::query_seen; }, 20000));
    // The refused session end leaves Zorvane running, without a message of its own.
    E2E_CHECK(zorvane.NoMessageBox(500));
    E2E_CHECK(zorvane.Close());
}

}  // namespace zv::e2e
