// Pings through the real services: names from the private hosts file, loopback
// addresses, unknown names, malformed texts, and a host that does not answer.

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "ping/mdl_ping.h"
#include "scenarios.h"
#include "win32/ping/icmp_echo_service.h"
#include "win32/ping/wave_sound.h"
#include "win32/ping/winsock_service.h"

namespace zv::e2e {

namespace {

using Clock = std::chrono::steady_clock;

std::string FormatSeconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

struct Outcome {
    bool answered;
    double seconds;
    int messages;
};

std::string Describe(const Outcome& outcome) {
    char text[96];
    std::snprintf(text, sizeof text, "%s after %.3f s, %d message boxes",
                  outcome.answered ? "true" : "false", outcome.seconds, outcome.messages);
    return text;
}

class Pinger {
  public:
    explicit Pinger(Checks& checks) : checks_(checks) {}

    Outcome Ping(const std::string& host, int32_t timeout_ms) {
        int before = messages_.shown;
        auto start = Clock::now();
        bool answered = engine_.PingOnce(host, timeout_ms);
        std::chrono::duration<double> took = Clock::now() - start;
        return Outcome{answered, took.count(), messages_.shown - before};
    }

    // One ping expected to give `expected` without any message box, within `max_seconds`.
    void Expect(const std::string& host, int32_t timeout_ms, bool expected, double max_seconds) {
        Outcome outcome = Ping(host, timeout_ms);
        checks_.Expect(
            outcome.answered == expected && outcome.messages == 0 && outcome.seconds <= max_seconds,
            "PingOnce(\"" + host + "\", " + std::to_string(timeout_ms) + ") is " +
                (expected ? "true" : "false") + ", no message, within " +
                FormatSeconds(max_seconds),
            Describe(outcome));
    }

  private:
    Checks& checks_;
    win32::WinsockService sockets_;
    win32::IcmpEchoService echo_;
    PrintedMessages messages_;
    ping::mdlPing engine_{sockets_, echo_, messages_, "ping e2e"};
};

}  // namespace

void RunReachable(Checks& checks) {
    Pinger pinger(checks);
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

    const char* app = std::getenv("ZV_APP_DIR");
    std::string wave = std::string(app != nullptr ? app : ".") + "\\Ping.wav";
    win32::WaveSound sound;
    auto start = Clock::now();
    sound.PlayWaveFile(wave);
    std::chrono::duration<double> took = Clock::now() - start;
    checks.Expect(took.count() < 1.0, "playing " + wave + " returns at once",
                  FormatSeconds(took.count()));
}

void RunSilent(Checks& checks) {
    Pinger pinger(checks);
    Outcome outcome = pinger.Ping("127.0.0.1", 1500);
    checks.Expect(!outcome.answered && outcome.messages == 0 && outcome.seconds >= 1.2 &&
                      outcome.seconds <= 6.0,
                  "PingOnce(\"127.0.0.1\", 1500) on a silent host is false after the timeout",
                  Describe(outcome));
    pinger.Expect("quiet.zorvane.test", 1000, false, 6.0);

    checks.Expect(AskSandbox("echo-on"), "the sandbox answers echo requests again", "");
    pinger.Expect("quiet.zorvane.test", 1000, true, 2.0);
}

}  // namespace zv::e2e
