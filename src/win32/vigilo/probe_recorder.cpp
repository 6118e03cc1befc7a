#include "win32/vigilo/probe_recorder.h"

#include <utility>
#include <vector>

#include "win32/platform/critical_section.h"
#include "win32/platform/win32_file_system.h"
#include "win32/vigilo/connection_facts.h"
#include "win32/vigilo/store_files_win.h"

namespace zv::win32 {
namespace {

// Enough for a day before the start: the history ring holds no more. The month the
// history window shows is read back in brief.
constexpr int64_t kRestoreMs = monitor::kDayMs + monitor::kStateHoldMs;
constexpr int64_t kSpanMs = monitor::kLongestSpanMs + monitor::kStateHoldMs;

}  // namespace

// Shared by the window's side and the worker's jobs, so that a job still waiting on the disk
// when the companion ends touches nothing freed.
struct ProbeRecorder::Record {
    CriticalSection guard;
    // Under the guard:
    std::optional<monitor::StoreOpening> opening;
    std::optional<monitor::ReportOutcome> report;
    // The jobs' alone.
    Win32StoreFiles files;
    std::optional<monitor::ProbeStore> store;
};

namespace {

// Hands an outcome of a job to the window: into its slot, then the message.
template <typename Outcome>
void Hand(CriticalSection& guard, std::optional<Outcome>& slot, Outcome outcome, HWND window,
          UINT message) {
    {
        Hold held(guard);
        slot = std::move(outcome);
    }
    PostMessageA(window, message, 0, 0);
}

// The outcome in the slot, once.
template <typename Outcome>
std::optional<Outcome> Take(CriticalSection& guard, std::optional<Outcome>& slot) {
    Hold held(guard);
    std::optional<Outcome> outcome = std::move(slot);
    slot.reset();
    return outcome;
}

// The probes the report covers, read from a little before the first day's local midnight
// (the zone may lie up to 14 hours from UTC, and the clock may have been set since) up to
// the report; only those of its days are kept.
std::vector<monitor::Probe> ProbesForReport(const monitor::ProbeStore& store,
                                            const monitor::ReportRequest& request) {
    const monitor::Moment& made = request.made;
    int64_t since_first_day = made.wall.utc_ms - request.first_day * monitor::kDayMs;
    std::vector<monitor::Probe> probes;
    store.ForEach(made.tick_ms - since_first_day - 2 * monitor::kDayMs, made.tick_ms,
                  [&](const monitor::Probe& probe) {
                      if (monitor::InReportPeriod(probe, request)) {
                          probes.push_back(probe);
                      }
                  });
    return probes;
}

}  // namespace

ProbeRecorder::ProbeRecorder() : record_(std::make_shared<Record>()) {}

void ProbeRecorder::WaitForQueued() {
    worker_.WaitForQueued();
}

void ProbeRecorder::Open(HWND window, const monitor::Moment& start, int keep_days) {
    worker_.Push([record = record_, window, start, keep_days] {
        record->store.emplace(record->files, keep_days);
        Hand(record->guard, record->opening, record->store->Open(start, kRestoreMs, kSpanMs),
             window, kRecordOpenedMessage);
    });
}

std::optional<monitor::StoreOpening> ProbeRecorder::TakeOpening() {
    return Take(record_->guard, record_->opening);
}

void ProbeRecorder::WriteReport(HWND window, const monitor::ReportRequest& request,
                                const std::string& page_path, const std::string& separator) {
    worker_.Push([record = record_, window, request, page_path, separator] {
        monitor::ReportRequest facts = request;
        facts.connection = ReadConnectionFacts();
        std::vector<monitor::Probe> probes;
        if (record->store) {
            probes = ProbesForReport(*record->store, facts);
        }
        Win32FileSystem files(PathText::Utf8);
        Hand(record->guard, record->report,
             monitor::WriteOutageReport(files, std::move(probes), facts, page_path, separator),
             window, kReportWrittenMessage);
    });
}

std::optional<monitor::ReportOutcome> ProbeRecorder::TakeReport() {
    return Take(record_->guard, record_->report);
}

void ProbeRecorder::Export(HWND window, UINT done_message, monitor::HistoryExport job) {
    worker_.Push([record = record_, window, done_message, job = std::move(job)] {
        std::vector<monitor::Probe> stored;
        if (record->store && job.ReadFrom() <= job.ReadTo()) {
            record->store->ForEach(job.ReadFrom(), job.ReadTo(),
                                   [&](const monitor::Probe& probe) { stored.push_back(probe); });
        }
        // Written as the window's own Save As would, to a path that may lie outside the ANSI
        // code page.
        Win32FileSystem files(PathText::Utf8);
        bool saved = files.WriteFileAtomic(job.path, monitor::ExportCsv(job, stored));
        PostMessageA(window, done_message, saved ? 1 : 0, 0);
    });
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
