#include "win32/vigilo/probe_thread.h"

#include <atomic>

#include "win32/platform/worker_thread.h"
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
    monitor::ReachabilityProbe probe{sockets, echo};
};

// Shared by the window's side and the thread, so that whichever lets go last frees it.
struct ProbeThread::Job {
    std::shared_ptr<Services> services;
    std::string host;
    int32_t timeout_ms = 0;
    HWND window = nullptr;
    monitor::ProbeOutcome outcome;
    std::atomic<bool> done{false};
};

ProbeThread::~ProbeThread() {
    FinishWorker(thread_, kExitWaitMs);
    Release();
}

void ProbeThread::StartProbe(const std::string& host, int32_t timeout_ms) {
    // A probe still under way was given up as hung: it keeps its services, and this one
    // starts over with services of its own.
    if (job_ != nullptr && !job_->done.load(std::memory_order_acquire)) {
        services_.reset();
    }
    Release();
    if (services_ == nullptr) {
        services_ = std::make_shared<Services>();
    }
    job_ = std::make_shared<Job>();
    job_->services = services_;
    job_->host = host;
    job_->timeout_ms = timeout_ms;
    job_->window = window_;
    thread_ = StartWorker([job = job_] {
        job->outcome = job->services->probe.Run(job->host, job->timeout_ms);
        job->done.store(true, std::memory_order_release);
        PostMessageA(job->window, kProbeDoneMessage, 0, 0);
    });
}

std::optional<monitor::ProbeOutcome> ProbeThread::TakeOutcome() {
    if (job_ == nullptr || !job_->done.load(std::memory_order_acquire)) {
        return std::nullopt;
    }
    monitor::ProbeOutcome outcome = job_->outcome;
    Release();
    return outcome;
}

void ProbeThread::Release() {
    if (thread_ != nullptr) {
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    job_.reset();
}

}  // namespace zv::win32
