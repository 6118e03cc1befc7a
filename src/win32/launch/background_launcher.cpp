#include "win32/launch/background_launcher.h"

#include "win32/platform/worker_thread.h"

namespace zv::win32 {

BackgroundLauncher::BackgroundLauncher(launch::LauncherPort& target) : target_(target) {
    InitializeCriticalSection(&one_at_a_time_);
}

BackgroundLauncher::~BackgroundLauncher() {
    if (!LaunchesEndWithin(kExitWaitMs)) {
        // A launch still waits (for an Explorer that does not answer) and its thread uses
        // this object and its target, so neither may go. The program ends here, as it was
        // about to, rather than stay alive behind a closed window holding its single-copy
        // lock; the launch is lost with the process, as Explorer would have lost it.
        TerminateProcess(GetCurrentProcess(), 0);
    }
    DeleteCriticalSection(&one_at_a_time_);
}

// True when every launch handed over ended within the time, counted for all together.
bool BackgroundLauncher::LaunchesEndWithin(DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    for (HANDLE& thread : threads_) {
        const DWORD spent = GetTickCount() - start;
        const DWORD left = spent < timeout_ms ? timeout_ms - spent : 0;
        if (!FinishWorker(thread, left)) {
            return false;
        }
    }
    return true;
}

void BackgroundLauncher::ShellOpen(const std::string& target, int show_mode) {
    Hand(false, target, show_mode);
}

unsigned long BackgroundLauncher::RunCommand(const std::string& command_line, int window_style) {
    Hand(true, command_line, window_style);
    return 0;
}

void BackgroundLauncher::Hand(bool is_command, const std::string& target, int show) {
    ForgetFinished();
    HANDLE thread =
        StartWorker([this, is_command, target, show] { Launch(is_command, target, show); });
    if (thread != nullptr) {
        threads_.push_back(thread);
    }
}

void BackgroundLauncher::Launch(bool is_command, const std::string& target, int show) {
    // The target loads its libraries on first use and keeps them: one launch at a time, as
    // on one thread.
    EnterCriticalSection(&one_at_a_time_);
    if (is_command) {
        target_.RunCommand(target, show);
    } else {
        target_.ShellOpen(target, show);
    }
    LeaveCriticalSection(&one_at_a_time_);
}

// Threads whose launch is done, so that a long session does not collect their handles.
void BackgroundLauncher::ForgetFinished() {
    std::vector<HANDLE> running;
    for (HANDLE thread : threads_) {
        if (!FinishWorker(thread, 0)) {
            running.push_back(thread);
        }
    }
    threads_.swap(running);
}

}  // namespace zv::win32
