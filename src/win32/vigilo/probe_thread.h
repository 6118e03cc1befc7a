// The companion's probe on a thread of its own: resolving the probe host, waiting out a
// silent echo, the TCP fallback and the search for where a loss lies take up to half a
// minute, which the window's thread must never spend. One
// probe at a time, each on a thread of its own over Windows Sockets and echo services
// kept for the probes alone; it posts kProbeDoneMessage to the window when the outcome is
// there.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "monitor/reachability_probe.h"
#include "win32/platform/one_job_worker.h"

namespace zv::win32 {

inline constexpr UINT kProbeDoneMessage = WM_APP + 30;

class ProbeThread : public monitor::ProbePort {
  public:
    ProbeThread();
    // Waits a bounded time for a probe under way; one still waiting on the network then
    // ends with the process, and touches nothing of this object meanwhile.
    ~ProbeThread() override;
    ProbeThread(const ProbeThread&) = delete;
    ProbeThread& operator=(const ProbeThread&) = delete;

    // The window the message goes to; set before the first probe.
    void ReportTo(HWND window) { worker_.ReportTo(window); }

    // A probe still under way then is given up: its outcome, should it come, is dropped.
    void StartProbe(const std::string& host, int32_t timeout_ms, bool extra) override;

    // On kProbeDoneMessage: the outcome, once; nothing for a stray message.
    std::optional<monitor::ProbeOutcome> TakeOutcome() { return worker_.TakeOutcome(); }

  private:
    struct Services;

    std::shared_ptr<Services> services_;
    OneJobWorker<monitor::ProbeOutcome> worker_;
};

}  // namespace zv::win32
