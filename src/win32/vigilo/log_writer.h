// The companion's log, written by a thread of its own: each probe's line is queued and
// returns at once, and a worker drains the queue through ProbeLog. A log folder on a
// server share or a sleeping USB disk may keep each line for seconds, and the per-user
// lock up to one more; none of that may hold up the tray menu or the history window.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

#include "monitor/probe_log.h"
#include "win32/platform/queued_worker.h"

namespace zv::win32 {

// Lines a worker still has to write when the companion ends get this long to go out;
// a folder that hangs longer loses them with the process.
inline constexpr DWORD kLogDrainAtExitMs = 3000;
// Lines waiting beyond this many (a day of probes) are left out, and that is said.
inline constexpr std::size_t kLogQueueLimit = 2880;

class LogWriter : public monitor::LogPort {
  public:
    LogWriter();
    // The end's wait for the lines still queued (see worker_), while the program goes on: at
    // log-off Windows ends the process as soon as WM_ENDSESSION has been answered, and no
    // destructor runs.
    void WaitForQueuedLines();
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    std::string Path() const override;
    void Write(const std::string& line) override;
    std::string Problem() const override;

  private:
    struct Log;

    std::shared_ptr<Log> log_;
    // Lines left out since the start; the window's thread's alone.
    std::size_t left_out_ = 0;
    // Last, so that at the end it waits up to kLogDrainAtExitMs for the lines still queued
    // before the rest goes.
    QueuedWorker worker_{kLogQueueLimit, kLogDrainAtExitMs};
};

}  // namespace zv::win32
