#include "win32/vigilo/probe_recorder.h"

#include "win32/platform/critical_section.h"
#include "win32/vigilo/store_files_win.h"

namespace zv::win32 {
namespace {

// Enough for a day before the start: the history ring holds no more.
constexpr int64_t kRestoreMs = monitor::kDayMs + monitor::kStateHoldMs;

}  // namespace

// Shared by the window's side and the worker's jobs, so that a job still waiting on the disk
// when the companion ends touches nothing freed.
struct ProbeRecorder::Record {
    CriticalSection guard;
    std::optional<monitor::StoreOpening> opening;  // under the guard
    // The jobs' alone.
    Win32StoreFiles files;
    std::optional<monitor::ProbeStore> store;
};

ProbeRecorder::ProbeRecorder() : record_(std::make_shared<Record>()) {}

void ProbeRecorder::WaitForQueued() {
    worker_.WaitForQueued();
}

void ProbeRecorder::Open(HWND window, const monitor::Moment& start, int keep_days) {
    worker_.Push([record = record_, window, start, keep_days] {
        record->store.emplace(record->files, keep_days);
        monitor::StoreOpening opening = record->store->Open(start, kRestoreMs);
        {
            Hold held(record->guard);
            record->opening = std::move(opening);
        }
        PostMessageA(window, kRecordOpenedMessage, 0, 0);
    });
}

std::optional<monitor::StoreOpening> ProbeRecorder::TakeOpening() {
    Hold held(record_->guard);
    std::optional<monitor::StoreOpening> opening = std::move(record_->opening);
    record_->opening.reset();
    return opening;
}

void ProbeRecorder::Keep(const monitor::Probe& probe) {
    worker_.PushUnlessFull([record = record_, probe] {
        if (record->store) {
            record->store->Append(probe);
            record->store->PruneStep({probe.time, probe.tick_ms});
        }
    });
}

}  // namespace zv::win32
