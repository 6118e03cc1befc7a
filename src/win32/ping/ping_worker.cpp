#include "win32/ping/ping_worker.h"

#include "win32/ping/icmp_echo_service.h"
#include "win32/ping/winsock_service.h"

namespace zv::win32 {
namespace {

// Long enough for an echo that is just ending; a silent resolver is not waited out.
constexpr DWORD kExitWaitMs = 1500;

}  // namespace

PingWorker::PingWorker() : OneJobWorker(kPingDoneMessage, kExitWaitMs) {}

void PingWorker::StartPing(const std::string& host, int32_t timeout_ms) {
    Start([host, timeout_ms] {
        WinsockService sockets;
        IcmpEchoService echo;
        return ping::PingQuietly(sockets, echo, host, timeout_ms);
    });
}

}  // namespace zv::win32
