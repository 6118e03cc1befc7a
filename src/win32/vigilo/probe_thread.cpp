#include "win32/vigilo/probe_thread.h"

#include "win32/vigilo/interface_counters.h"
#include "win32/vigilo/probe_services.h"

namespace zv::win32 {
namespace {

// Long enough for a probe that is just ending; a silent echo is not waited out at exit.
constexpr DWORD kExitWaitMs = 2000;

}  // namespace

// Kept from the first probe on, as loading the libraries and opening the echo handle
// anew for each probe costs more than the probe, and the probe remembers what it learnt
// of the gateway; used by one probe at a time.
struct ProbeThread::Services {
    ProbeSockets sockets;
    ProbeEcho echo;
    InterfaceCounters counters;
    monitor::ReachabilityProbe probe{sockets, echo, counters};
};

ProbeThread::ProbeThread() : worker_(kProbeDoneMessage, kExitWaitMs) {}

ProbeThread::~ProbeThread() = default;

void ProbeThread::StartProbe(const std::string& host, int32_t timeout_ms, bool extra) {
    // A probe still under way was given up as hung: it keeps its services, and this one
    // starts over with services of its own.
    if (worker_.Busy()) {
        services_.reset();
    }
    if (services_ == nullptr) {
        services_ = std::make_shared<Services>();
    }
    worker_.Start([services = services_, host, timeout_ms, extra] {
        return extra ? services->probe.RunExtra(timeout_ms) : services->probe.Run(host, timeout_ms);
    });
}

}  // namespace zv::win32
