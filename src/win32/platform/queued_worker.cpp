#include "win32/platform/queued_worker.h"

#include <deque>
#include <utility>

#include "win32/platform/critical_section.h"
#include "win32/platform/worker_thread.h"

namespace zv::win32 {

// Shared by the window's side and the worker, so that a worker still running when the owner
// ends touches nothing freed.
struct QueuedWorker::Queue {
    CriticalSection guard;
    // Under the guard:
    std::deque<std::function<void()>> jobs;
    bool draining = false;  // a worker is on its way through the jobs
};

// Runs the jobs queued until none is left; the next job queued starts a worker anew.
void QueuedWorker::RunQueued(Queue& queue) {
    for (;;) {
        std::function<void()> job;
        {
            Hold held(queue.guard);
            if (queue.jobs.empty()) {
                queue.draining = false;
                return;
            }
            job = std::move(queue.jobs.front());
            queue.jobs.pop_front();
        }
        job();
    }
}

QueuedWorker::QueuedWorker(std::size_t limit, DWORD exit_wait_ms)
    : limit_(limit), exit_wait_ms_(exit_wait_ms), queue_(std::make_shared<Queue>()) {}

QueuedWorker::~QueuedWorker() {
    WaitForQueued();
    if (worker_ != nullptr) {
        CloseHandle(worker_);
    }
}

void QueuedWorker::WaitForQueued() {
    FinishWorker(worker_, exit_wait_ms_);
}

void QueuedWorker::Push(std::function<void()> job) {
    Add(std::move(job), false);
}

bool QueuedWorker::PushUnlessFull(std::function<void()> job) {
    return Add(std::move(job), true);
}

bool QueuedWorker::Add(std::function<void()> job, bool may_leave_out) {
    {
        Hold held(queue_->guard);
        if (may_leave_out && queue_->jobs.size() >= limit_) {
            return false;
        }
        queue_->jobs.push_back(std::move(job));
        if (queue_->draining) {
            return true;
        }
        queue_->draining = true;
    }
    // The worker before has ended its round (it cleared `draining`): only its handle is left.
    if (worker_ != nullptr) {
        CloseHandle(worker_);
    }
    worker_ = StartWorker([queue = queue_] { RunQueued(*queue); });
    return true;
}

}  // namespace zv::win32
