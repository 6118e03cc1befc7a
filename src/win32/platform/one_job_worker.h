// One job at a time on a thread of its own (see worker_thread.h), for a window that must
// never wait for it: the thread posts the window a message when the outcome is there, and the
// window takes it. A job still under way when the next starts is given up, its outcome
// dropped should it come.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "win32/platform/worker_thread.h"

namespace zv::win32 {

template <typename Outcome>
class OneJobWorker {
  public:
    // done_message is posted to the window when a job's outcome is there; exit_wait_ms bounds
    // the wait for a job under way when the worker goes.
    OneJobWorker(UINT done_message, DWORD exit_wait_ms)
        : done_message_(done_message), exit_wait_ms_(exit_wait_ms) {}
    // A job still running after the bounded wait ends with the process, and touches nothing
    // of this object meanwhile.
    ~OneJobWorker() {
        FinishWorker(thread_, exit_wait_ms_);
        Release();
    }
    OneJobWorker(const OneJobWorker&) = delete;
    OneJobWorker& operator=(const OneJobWorker&) = delete;

    // The window the message goes to; set before the first job.
    void ReportTo(HWND window) { window_ = window; }

    // True while the latest job has not finished.
    bool Busy() const { return job_ != nullptr && !job_->done.load(std::memory_order_acquire); }

    void Start(std::function<Outcome()> work) {
        Release();
        job_ = std::make_shared<Job>();
        thread_ = StartWorker(
            [job = job_, work = std::move(work), window = window_, message = done_message_] {
                job->outcome = work();
                job->done.store(true, std::memory_order_release);
                PostMessageA(window, message, 0, 0);
            });
    }

    // The latest job's outcome, once; nothing before it is there.
    std::optional<Outcome> TakeOutcome() {
        if (!Busy() && job_ != nullptr) {
            Outcome outcome = job_->outcome;
            Release();
            return outcome;
        }
        return std::nullopt;
    }

  private:
    // Shared by the window's side and the thread, so that whichever lets go last frees it.
    struct Job {
        Outcome outcome;
        std::atomic<bool> done{false};
    };

    void Release() {
        if (thread_ != nullptr) {
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        job_.reset();
    }

    const UINT done_message_;
    const DWORD exit_wait_ms_;
    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    std::shared_ptr<Job> job_;
};

}  // namespace zv::win32
