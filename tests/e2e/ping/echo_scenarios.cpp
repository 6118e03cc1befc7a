// Pings through the real services: names from the private hosts file, loopback
// addresses, unknown names, malformed texts, and a host that does not answer.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "ping/echo_engine.h"
#include "ping_driver_support.h"
#include "support/check.h"
#include "support/files.h"
#include "support/sandbox_control.h"
#include "win32/ping/icmp_echo_service.h"
#include "win32/ping/wave_sound.h"
#include "win32/ping/winsock_service.h"

namespace zv::e2e {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string FormatSeconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}

class Pinger {
  public:
    // One ping expected to give `expected` without any message box, within `max_seconds`;
    // failures name the host and the time it took.
    void Expect(const std::string& host, int32_t timeout_ms, bool expected, double max_seconds) {
        int messages_before = messages_.shown;
        auto start = Clock::now();
        bool answered = engine_.PingOnce(host, timeout_ms);
        double seconds = SecondsSince(start);
        Context in("PingOnce(" + Escape(host) + ", " + std::to_string(timeout_ms) + ") after " +
                   FormatSeconds(seconds));
        E2E_CHECK_EQ(answered, expected);
        E2E_CHECK_EQ(messages_.shown - messages_before, 0);
        E2E_CHECK(seconds <= max_seconds);
    }

    // The time a ping that must fail takes.
    double SecondsToFail(const std::string& host, int32_t timeout_ms) {
        auto start = Clock::now();
        E2E_CHECK(!engine_.PingOnce(host, timeout_ms));
        return SecondsSince(start);
    }

  private:
    win32::WinsockService sockets_;
    win32::IcmpEchoService echo_;
    PrintedMessages messages_;
    ping::EchoEngine engine_{sockets_, echo_, messages_, "ping e2e"};
};

}  // namespace

void RunReachable() {
    Pinger pinger;
    pinger.Expect("ping.zorvane.test", 1000, true, 2.0);
    pinger.Expect("127.0.0.1", 1000, true, 2.0);
    pinger.Expect("localhost", 1000, true, 2.0);
    pinger.Expect("nowhere.zorvane.test", 1000, false, 2.0);
    pinger.Expect("nowhere", 1000, false, 2.0);
    // Each of these, read loosely, would name a loopback address that answers: 383 is
    // 127 in its low byte, and a three-part text would go to address 0.
    for (const char* malformed :
         {"383.0.0.1", "127.0.1", "127.0.0.1.5", "127..0.1", "127.0.0.1.", "127.0.0.x", "   "}) {
        pinger.Expect(malformed, 1000, false, 0.5);
    }

    win32::WaveSound sound;
    auto start = Clock::now();
    sound.PlayWaveFile(AppDirectory() + "\\Ping.wav");
    double seconds = SecondsSince(start);
    Context in("playing Ping.wav took " + FormatSeconds(seconds));
    E2E_CHECK(seconds < 1.0);
}

void RunSilent() {
    Pinger pinger;
    {
        double seconds = pinger.SecondsToFail("127.0.0.1", 1500);
        Context in("a silent 127.0.0.1 gave up after " + FormatSeconds(seconds));
        E2E_CHECK_BETWEEN(seconds, 1.2, 6.0);
    }
    pinger.Expect("quiet.zorvane.test", 1000, false, 6.0);

    E2E_CHECK(SetSandboxEcho(true));
    pinger.Expect("quiet.zorvane.test", 1000, true, 2.0);
}

}  // namespace zv::e2e
