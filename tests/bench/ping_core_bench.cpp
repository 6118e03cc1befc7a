// How much the engine's PingOnce costs over the bare echo call: pings 127.0.0.1 through
// PingOnce (Windows Sockets start-up and clean-up, address parsing, its own echo handle)
// and through a loop of IcmpSendEcho on one open handle, in alternating rounds, and prints
// the time per ping of each and their ratio.

#include <winsock2.h>

#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "ping/echo_engine.h"
#include "win32/ping/icmp_echo_service.h"
#include "win32/platform/system_library.h"
#include "win32/ping/winsock_service.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 5;
constexpr int kPingsPerRound = 200;
constexpr int kWarmUp = 20;
constexpr DWORD kLoopback = 0x0100007F;  // 127.0.0.1 in network order

class NoMessages : public zv::ui::MessageBoxPort {
  public:
    zv::ui::MessageAnswer Show(const zv::ui::Message& message) override {
        std::printf("unexpected message box: %s\n", message.text.c_str());
        return zv::ui::MessageAnswer::Ok;
    }
};

// Microseconds per call of `ping`, which says whether the host answered.
double TimePerPing(const std::function<bool()>& ping, int count, int& failures) {
    auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        failures += ping() ? 0 : 1;
    }
    std::chrono::duration<double, std::micro> took = Clock::now() - start;
    return took.count() / count;
}

}  // namespace

int main() {
    zv::win32::WinsockService sockets;
    zv::win32::IcmpEchoService echo;
    NoMessages messages;
    zv::ping::EchoEngine engine(sockets, echo, messages, "ping bench");
    auto ping_once = [&] { return engine.PingOnce("127.0.0.1", 1000); };

    zv::win32::SystemLibrary iphlpapi("iphlpapi.dll");
    auto create = iphlpapi.Function<HANDLE(WINAPI*)()>("IcmpCreateFile");
    auto send =
        iphlpapi.Function<DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION,
                                         LPVOID, DWORD, DWORD)>("IcmpSendEcho");
    auto close = iphlpapi.Function<BOOL(WINAPI*)(HANDLE)>("IcmpCloseHandle");
    if (create == nullptr || send == nullptr || close == nullptr) {
        std::printf("the ICMP echo service is missing\n");
        return 1;
    }
    HANDLE handle = create();
    char payload[] = "Echo This";
    unsigned char reply[sizeof(ICMP_ECHO_REPLY) + 512];
    auto bare_echo = [&] {
        return send(handle, kLoopback, payload, 9, nullptr, reply, sizeof reply, 1000) > 0 &&
               reinterpret_cast<ICMP_ECHO_REPLY*>(reply)->Status == 0;
    };

    int failures = 0;
    TimePerPing(ping_once, kWarmUp, failures);
    TimePerPing(bare_echo, kWarmUp, failures);
    double engine_total = 0;
    double bare_total = 0;
    for (int round = 0; round < kRounds; ++round) {
        double engine_us = TimePerPing(ping_once, kPingsPerRound, failures);
        double bare_us = TimePerPing(bare_echo, kPingsPerRound, failures);
        std::printf("round %d: PingOnce %.1f us, IcmpSendEcho %.1f us\n", round + 1, engine_us,
                    bare_us);
        engine_total += engine_us;
        bare_total += bare_us;
    }
    close(handle);

    double engine_us = engine_total / kRounds;
    double bare_us = bare_total / kRounds;
    std::printf("PingOnce to 127.0.0.1: %.1f us per ping\n", engine_us);
    std::printf("bare IcmpSendEcho loop: %.1f us per ping\n", bare_us);
    std::printf(
        "ratio PingOnce / IcmpSendEcho: %.2f (target <= 1.20; %d pings each, %d without answer)\n",
        engine_us / bare_us, kRounds * kPingsPerRound, failures);
    return failures == 0 ? 0 : 1;
}
