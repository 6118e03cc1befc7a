// The lasting record of the probes on a thread of its own: the store is opened, read back,
// appended to and pruned there, one job after another in the order they came, so that a
// slow or hung disk never holds up the tray menu or the history window. The window hears by
// kRecordOpenedMessage that the record was read back. The outage report is read from the
// record and written there too, after every probe kept before it was asked for.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "monitor/history_export.h"
#include "monitor/link_monitor.h"
#include "monitor/outage_report_writer.h"
#include "monitor/probe_store.h"
#include "win32/platform/queued_worker.h"

namespace zv::win32 {

inline constexpr UINT kRecordOpenedMessage = WM_APP + 32;
inline constexpr UINT kReportWrittenMessage = WM_APP + 33;
// Probes still queued when the companion ends get this long to go out.
inline constexpr DWORD kRecordDrainAtExitMs = 3000;
// Probes waiting beyond this many (a day of them: the disk hangs) are not kept.
inline constexpr std::size_t kRecordQueueLimit = 2880;

class ProbeRecorder : public monitor::ProbeRecordPort {
  public:
    ProbeRecorder();
    ProbeRecorder(const ProbeRecorder&) = delete;
    ProbeRecorder& operator=(const ProbeRecorder&) = delete;

    // Opens the record for the run begun at `start`, reading back a day before it, and tells
    // the window; the probes kept meanwhile wait their turn.
    void Open(HWND window, const monitor::Moment& start, int keep_days);
    // On kRecordOpenedMessage: what was read back, once.
    std::optional<monitor::StoreOpening> TakeOpening();
    void Keep(const monitor::Probe& probe) override;
    // Writes the outage report of the request's days to `page_path` (UTF-8), its CSV beside
    // it with fields apart by `separator`, and tells the window by kReportWrittenMessage.
    void WriteReport(HWND window, const monitor::ReportRequest& request,
                     const std::string& page_path, const std::string& separator);
    // On kReportWrittenMessage: the report's outcome, once.
    std::optional<monitor::ReportOutcome> TakeReport();
    // Writes the export in its turn, with what it needs of the record read there, and posts
    // `done_message` to the window with wparam 1 when the file was written, else 0.
    void Export(HWND window, UINT done_message, monitor::HistoryExport job);
    // The end's wait for the probes still queued (see worker_), for WM_ENDSESSION, after
    // which no destructor runs.
    void WaitForQueued();

  private:
    struct Record;

    std::shared_ptr<Record> record_;
    // Last, so that at the end it waits up to kRecordDrainAtExitMs for the probes still
    // queued before the rest goes. A probe is left out while the queue is full; the opening
    // never is.
    QueuedWorker worker_{kRecordQueueLimit, kRecordDrainAtExitMs};
};

}  // namespace zv::win32
