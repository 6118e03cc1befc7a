// The lasting record of the probes on a thread of its own: the store is opened, read back,
// appended to and pruned there, one job after another in the order they came, so that a
// slow or hung disk never holds up the tray menu or the history window. The window hears by
// kRecordOpenedMessage that the record was read back.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "monitor/history_export.h"
#include "monitor/link_monitor.h"
#include "monitor/probe_store.h"

namespace zv::win32 {

inline constexpr UINT kRecordOpenedMessage = WM_APP + 32;
// Probes still queued when the companion ends get this long to go out.
inline constexpr DWORD kRecordDrainAtExitMs = 3000;
// Probes waiting beyond this many (a day of them: the disk hangs) are not kept.
inline constexpr std::size_t kRecordQueueLimit = 2880;

class ProbeRecorder : public monitor::ProbeRecordPort {
  public:
    ProbeRecorder();
    // Waits up to kRecordDrainAtExitMs for the probes still queued.
    ~ProbeRecorder() override;
    ProbeRecorder(const ProbeRecorder&) = delete;
    ProbeRecorder& operator=(const ProbeRecorder&) = delete;

    // Opens the record for the run begun at `start`, reading back a day before it, and tells
    // the window; the probes kept meanwhile wait their turn.
    void Open(HWND window, const monitor::Moment& start, int keep_days);
    // On kRecordOpenedMessage: what was read back, once.
    std::optional<monitor::StoreOpening> TakeOpening();
    void Keep(const monitor::Probe& probe) override;
    // Writes the export in its turn, with what it needs of the record read there, and posts
    // `done_message` to the window with wparam 1 when the file was written, else 0.
    void Export(HWND window, UINT done_message, monitor::HistoryExport job);
    // The same wait as at the end, for WM_ENDSESSION, after which no destructor runs.
    void WaitForQueued();

  private:
    struct Queue;
    static void RunQueued(Queue& queue);
    // A probe's job is dropped while the queue is full; the opening never is.
    void Push(std::function<void(Queue&)> job, bool probe);

    std::shared_ptr<Queue> queue_;
    HANDLE worker_ = nullptr;
};

}  // namespace zv::win32
