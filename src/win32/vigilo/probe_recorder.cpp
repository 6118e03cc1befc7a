#include "win32/vigilo/probe_recorder.h"

#include <deque>
#include <vector>

#include "win32/platform/win32_file_system.h"
#include "win32/platform/worker_thread.h"
#include "win32/vigilo/store_files_win.h"

namespace zv::win32 {
namespace {

// Enough for a day before the start: the history ring holds no more. The month the
// history window shows is read back in brief.
constexpr int64_t kRestoreMs = monitor::kDayMs + monitor::kStateHoldMs;
constexpr int64_t kSpanMs = monitor::kLongestSpanMs + monitor::kStateHoldMs;

}  // namespace

// Shared by the window's side and the worker, so that a worker still waiting on the disk
// when the companion ends touches nothing freed.
struct ProbeRecorder::Queue {
    Queue() { InitializeCriticalSection(&guard); }
    ~Queue() { DeleteCriticalSection(&guard); }
    Queue(const Queue&) = delete;
    Queue& operator=(const Queue&) = delete;

    CRITICAL_SECTION guard;
    // Under the guard:
    std::deque<std::function<void(Queue&)>> jobs;
    bool draining = false;
    std::optional<monitor::StoreOpening> opening;
    // The worker's alone.
    Win32StoreFiles files;
    std::optional<monitor::ProbeStore> store;
};

void ProbeRecorder::RunQueued(Queue& queue) {
    for (;;) {
        std::function<void(Queue&)> job;
        EnterCriticalSection(&queue.guard);
        if (queue.jobs.empty()) {
            queue.draining = false;
            LeaveCriticalSection(&queue.guard);
            return;
        }
        job = std::move(queue.jobs.front());
        queue.jobs.pop_front();
        LeaveCriticalSection(&queue.guard);
        job(queue);
    }
}

ProbeRecorder::ProbeRecorder() : queue_(std::make_shared<Queue>()) {}

ProbeRecorder::~ProbeRecorder() {
    WaitForQueued();
    if (worker_ != nullptr) {
        CloseHandle(worker_);
    }
}

void ProbeRecorder::WaitForQueued() {
    FinishWorker(worker_, kRecordDrainAtExitMs);
}

void ProbeRecorder::Push(std::function<void(Queue&)> job, bool probe) {
    EnterCriticalSection(&queue_->guard);
    if (probe && queue_->jobs.size() >= kRecordQueueLimit) {
        LeaveCriticalSection(&queue_->guard);
        return;
    }
    queue_->jobs.push_back(std::move(job));
    bool start = !queue_->draining;
    queue_->draining = true;
    LeaveCriticalSection(&queue_->guard);
    if (start) {
        // The worker before has ended its round (it cleared `draining`): only its handle is left.
        if (worker_ != nullptr) {
            CloseHandle(worker_);
        }
        worker_ = StartWorker([queue = queue_] { RunQueued(*queue); });
    }
}

void ProbeRecorder::Open(HWND window, const monitor::Moment& start, int keep_days) {
    Push(
        [window, start, keep_days](Queue& queue) {
            queue.store.emplace(queue.files, keep_days);
            monitor::StoreOpening opening = queue.store->Open(start, kRestoreMs, kSpanMs);
            EnterCriticalSection(&queue.guard);
            queue.opening = std::move(opening);
            LeaveCriticalSection(&queue.guard);
            PostMessageA(window, kRecordOpenedMessage, 0, 0);
        },
        false);
}

std::optional<monitor::StoreOpening> ProbeRecorder::TakeOpening() {
    EnterCriticalSection(&queue_->guard);
    std::optional<monitor::StoreOpening> opening = std::move(queue_->opening);
    queue_->opening.reset();
    LeaveCriticalSection(&queue_->guard);
    return opening;
}

void ProbeRecorder::Export(HWND window, UINT done_message, monitor::HistoryExport job) {
    Push(
        [window, done_message, job = std::move(job)](Queue& queue) {
            std::vector<monitor::Probe> stored;
            if (queue.store && job.ReadFrom() <= job.ReadTo()) {
                queue.store->ForEach(job.ReadFrom(), job.ReadTo(),
                                     [&](const monitor::Probe& probe) { stored.push_back(probe); });
            }
            // Written as the window's own Save As would, to a path that may lie outside the
            // ANSI code page.
            Win32FileSystem files(PathText::Utf8);
            bool saved = files.WriteFileAtomic(job.path, monitor::ExportCsv(job, stored));
            PostMessageA(window, done_message, saved ? 1 : 0, 0);
        },
        false);
}

void ProbeRecorder::Keep(const monitor::Probe& probe) {
    Push(
        [probe](Queue& queue) {
            if (queue.store) {
                queue.store->Append(probe);
                queue.store->PruneStep({probe.time, probe.tick_ms});
            }
        },
        true);
}

}  // namespace zv::win32
