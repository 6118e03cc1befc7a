#include "win32/launch/background_launcher.h"

#include <process.h>

#include <memory>

namespace zv::win32 {

struct BackgroundLauncher::Launch {
    BackgroundLauncher* owner;
    bool is_command;  // RunCommand, else ShellOpen
    std::string target;
    int show;
};

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
    for (HANDLE thread : threads_) {
        CloseHandle(thread);
    }
    DeleteCriticalSection(&one_at_a_time_);
}

// True when every launch handed over ended within the time, counted for all together.
bool BackgroundLauncher::LaunchesEndWithin(DWORD timeout_ms) const {
    const DWORD start = GetTickCount();
    for (HANDLE thread : threads_) {
        const DWORD spent = GetTickCount() - start;
        const DWORD left = spent < timeout_ms ? timeout_ms - spent : 0;
        if (WaitForSingleObject(thread, left) != WAIT_OBJECT_0) {
            return false;
        }
    }
    return true;
}

void BackgroundLauncher::ShellOpen(const std::string& target, int show_mode) {
    Hand({this, false, target, show_mode});
}

unsigned long BackgroundLauncher::RunCommand(const std::string& command_line, int window_style) {
    Hand({this, true, command_line, window_style});
    return 0;
}

void BackgroundLauncher::Hand(const Launch& launch) {
    ForgetFinished();
    auto job = std::make_unique<Launch>(launch);
    uintptr_t thread = _beginthreadex(nullptr, 0, &BackgroundLauncher::Run, job.get(), 0, nullptr);
    if (thread == 0) {
        // Without a thread the launch runs here: the window waits, but the launch happens.
        Run(job.release());
        return;
    }
    job.release();
    threads_.push_back(reinterpret_cast<HANDLE>(thread));
}

unsigned __stdcall BackgroundLauncher::Run(void* launch) {
    std::unique_ptr<Launch> job(static_cast<Launch*>(launch));
    BackgroundLauncher& self = *job->owner;
    // The target loads its libraries on first use and keeps them: one launch at a time, as
    // on one thread.
    EnterCriticalSection(&self.one_at_a_time_);
    if (job->is_command) {
        self.target_.RunCommand(job->target, job->show);
    } else {
        self.target_.ShellOpen(job->target, job->show);
    }
    LeaveCriticalSection(&self.one_at_a_time_);
    return 0;
}

// Threads whose launch is done, so that a long session does not collect their handles.
void BackgroundLauncher::ForgetFinished() {
    std::vector<HANDLE> running;
    for (HANDLE thread : threads_) {
        if (WaitForSingleObject(thread, 0) == WAIT_OBJECT_0) {
            CloseHandle(thread);
        } else {
            running.push_back(thread);
        }
    }
    threads_.swap(running);
}

}  // namespace zv::win32
