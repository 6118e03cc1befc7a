#include "win32/vigilo/probe_recorder.h"

#include <deque>

#include "win32/platform/win32_file_system.h"
#include "win32/platform/worker_thread.h"
#include "win32/vigilo/connection_facts.h"
#include "win32/vigilo/store_files_win.h"

namespace zv::win32 {
namespace {

// Enough for a day before the start: the history ring holds no more.
constexpr int64_t kRestoreMs = monitor::kDayMs + monitor::kStateHoldMs;

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
    std::optional<monitor::ReportOutcome> report;
    // The worker's alone.
    Win32StoreFiles files;
    std::optional<monitor::ProbeStore> store;
};

namespace {

// Hands an outcome of the worker to the window: into its slot, then the message.
template <typename Outcome>
void Hand(CRITICAL_SECTION& guard, std::optional<Outcome>& slot, Outcome outcome, HWND window,
          UINT message) {
    EnterCriticalSection(&guard);
    slot = std::move(outcome);
    LeaveCriticalSection(&guard);
    PostMessageA(window, message, 0, 0);
}

// The outcome in the slot, once.
template <typename Outcome>
std::optional<Outcome> Take(CRITICAL_SECTION& guard, std::optional<Outcome>& slot) {
    EnterCriticalSection(&guard);
    std::optional<Outcome> outcome = std::move(slot);
    slot.reset();
    LeaveCriticalSection(&guard);
    return outcome;
}

}  // namespace

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
            Hand(queue.guard, queue.opening, queue.store->Open(start, kRestoreMs), window,
                 kRecordOpenedMessage);
        },
        false);
}

std::optional<monitor::StoreOpening> ProbeRecorder::TakeOpening() {
    return Take(queue_->guard, queue_->opening);
}

namespace {

// The probes the report may cover: those sent from a little before the first day's local
// midnight (the zone may lie up to 14 hours from UTC, and the clock may have been set since)
// up to the report.
std::vector<monitor::Probe> ProbesForReport(const monitor::ProbeStore& store,
                                            const monitor::ReportRequest& request) {
    const monitor::Moment& made = request.made;
    int64_t since_first_day = made.wall.utc_ms - request.first_day * monitor::kDayMs;
    std::vector<monitor::Probe> probes;
    store.ForEach(made.tick_ms - since_first_day - 2 * monitor::kDayMs, made.tick_ms,
                  [&](const monitor::Probe& probe) { probes.push_back(probe); });
    return probes;
}

}  // namespace

void ProbeRecorder::WriteReport(HWND window, const monitor::ReportRequest& request,
                                const std::string& page_path, const std::string& separator) {
    Push(
        [window, request, page_path, separator](Queue& queue) {
            monitor::ReportRequest facts = request;
            facts.connection = ReadConnectionFacts();
            std::vector<monitor::Probe> probes;
            if (queue.store) {
                probes = ProbesForReport(*queue.store, facts);
            }
            Win32FileSystem files(PathText::Utf8);
            Hand(queue.guard, queue.report,
                 monitor::WriteOutageReport(files, probes, facts, page_path, separator), window,
                 kReportWrittenMessage);
        },
        false);
}

std::optional<monitor::ReportOutcome> ProbeRecorder::TakeReport() {
    return Take(queue_->guard, queue_->report);
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
