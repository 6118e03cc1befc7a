#include "win32/ping/ping_worker.h"

#include <atomic>

#include "win32/ping/icmp_echo_service.h"
#include "win32/ping/winsock_service.h"
#include "win32/platform/worker_thread.h"

namespace zv::win32 {
namespace {

// Long enough for an echo that is just ending; a silent resolver is not waited out.
constexpr DWORD kExitWaitMs = 1500;

}  // namespace

// Shared by the window's side and the thread, so that whichever lets go last frees it.
struct PingWorker::Job {
    std::string host;
    int32_t timeout_ms = 0;
    HWND window = nullptr;
    ping::KeepAliveOutcome outcome;
    std::atomic<bool> done{false};
};

PingWorker::~PingWorker() {
    FinishWorker(thread_, kExitWaitMs);
    Release();
}

void PingWorker::StartPing(const std::string& host, int32_t timeout_ms) {
    Release();
    job_ = std::make_shared<Job>();
    job_->host = host;
    job_->timeout_ms = timeout_ms;
    job_->window = window_;
    thread_ = StartWorker([job = job_] {
        WinsockService sockets;
        IcmpEchoService echo;
        job->outcome = ping::PingQuietly(sockets, echo, job->host, job->timeout_ms);
        job->done.store(true, std::memory_order_release);
        PostMessageA(job->window, kPingDoneMessage, 0, 0);
    });
}

std::optional<ping::KeepAliveOutcome> PingWorker::TakeOutcome() {
    if (job_ == nullptr || !job_->done.load(std::memory_order_acquire)) {
        return std::nullopt;
    }
    ping::KeepAliveOutcome outcome = job_->outcome;
    Release();
    return outcome;
}

void PingWorker::Release() {
    if (thread_ != nullptr) {
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    job_.reset();
}

}  // namespace zv::win32
