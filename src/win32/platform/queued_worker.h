// Jobs the window's thread hands to a thread of its own, run one after another in the order
// they came, so that a slow or hung disk never holds up the window. A thread is started for
// the first job of a round and ends when none is left. At the end the jobs still queued get
// a bounded wait to go out; a job still waiting on the disk after it ends with the process,
// and touches nothing freed meanwhile: each job holds what it works on.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>

namespace zv::win32 {

class QueuedWorker {
  public:
    // limit: how many jobs may wait before those that may be left out are; exit_wait_ms: how
    // long the end waits for the jobs still queued.
    QueuedWorker(std::size_t limit, DWORD exit_wait_ms);
    // Waits up to exit_wait_ms for the jobs still queued.
    ~QueuedWorker();
    QueuedWorker(const QueuedWorker&) = delete;
    QueuedWorker& operator=(const QueuedWorker&) = delete;

    // Queues a job that must not be left out, however many wait.
    void Push(std::function<void()> job);
    // Queues a job unless `limit` jobs wait already: false then, and the job is left out.
    bool PushUnlessFull(std::function<void()> job);
    // The same wait as at the end while the program goes on: at log-off Windows ends the
    // process as soon as WM_ENDSESSION has been answered, and no destructor runs.
    void WaitForQueued();

  private:
    struct Queue;
    static void RunQueued(Queue& queue);
    bool Add(std::function<void()> job, bool may_leave_out);

    const std::size_t limit_;
    const DWORD exit_wait_ms_;
    std::shared_ptr<Queue> queue_;
    HANDLE worker_ = nullptr;
};

}  // namespace zv::win32
