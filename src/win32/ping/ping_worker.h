// The keep-alive ping on a thread of its own: the name lookup may wait out a silent name
// server, and the echo up to a second, which the window's thread must never spend. Each
// ping gets a thread and Windows Sockets and echo services of its own; it posts
// kPingDoneMessage to the window when the outcome is there.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ping/keep_alive_ping.h"
#include "win32/platform/one_job_worker.h"

namespace zv::win32 {

inline constexpr UINT kPingDoneMessage = WM_APP + 31;

// ReportTo (the window the message goes to, set before the first ping) and TakeOutcome (on
// kPingDoneMessage: the latest ping's outcome, once) are the worker's own. At exit it waits
// a bounded time for a ping under way; one still waiting on the resolver then ends with the
// process, and touches nothing of this object meanwhile.
class PingWorker : public ping::PingWorkerPort, private OneJobWorker<ping::KeepAliveOutcome> {
  public:
    PingWorker();
    using OneJobWorker::ReportTo;
    using OneJobWorker::TakeOutcome;

    // A ping still under way is given up: its outcome, should it come, is dropped.
    void StartPing(const std::string& host, int32_t timeout_ms) override;
};

}  // namespace zv::win32
