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

class PingWorker : public ping::PingWorkerPort {
  public:
    PingWorker();
    // Waits a bounded time for a ping under way; one still waiting on the resolver then
    // ends with the process, and touches nothing of this object meanwhile.
    ~PingWorker() override;
    PingWorker(const PingWorker&) = delete;
    PingWorker& operator=(const PingWorker&) = delete;

    // The window the message goes to; set before the first ping.
    void ReportTo(HWND window) { worker_.ReportTo(window); }

    // A ping still under way is given up: its outcome, should it come, is dropped.
    void StartPing(const std::string& host, int32_t timeout_ms) override;

    // On kPingDoneMessage: the latest ping's outcome, once; nothing for a stray message.
    std::optional<ping::KeepAliveOutcome> TakeOutcome() { return worker_.TakeOutcome(); }

  private:
    OneJobWorker<ping::KeepAliveOutcome> worker_;
};

}  // namespace zv::win32
