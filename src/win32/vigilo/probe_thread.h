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

// ReportTo (the window the message goes to, set before the first probe) and TakeOutcome (on
// kProbeDoneMessage: the outcome, once) are the worker's own. At exit it waits a bounded
// time for a probe under way; one still waiting on the network then ends with the process,
// and touches nothing of this object meanwhile.
class ProbeThread : public monitor::ProbePort, private OneJobWorker<monitor::ProbeOutcome> {
  public:
    ProbeThread();
    using OneJobWorker::ReportTo;
    using OneJobWorker::TakeOutcome;

    // A probe still under way then is given up: its outcome, should it come, is dropped.
    void StartProbe(const std::string& host, int32_t timeout_ms, bool extra) override;

  private:
    struct Services;

    std::shared_ptr<Services> services_;
};

}  // namespace zv::win32
