// Pings through the real Windows Sockets and ICMP echo services in the sandbox and checks
// what comes back: names from the private hosts file, loopback addresses, unknown names,
// malformed texts, and a host that does not answer. Prints every check with the value it
// saw and ends with "N passed, N failed".
//
//   ping_driver reachable   loopback answers (ping.zorvane.test mapped to 127.0.0.5)
//   ping_driver silent      echo ignored (quiet.zorvane.test mapped to 127.0.0.9)

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ping/mdl_ping.h"
#include "ui/ports.h"
#include "win32/ping/icmp_echo_service.h"
#include "win32/ping/wave_sound.h"
#include "win32/ping/winsock_service.h"

namespace {

using Clock = std::chrono::steady_clock;

// Message boxes would stop the run: print and count them instead.
class PrintedMessages : public zv::ui::MessageBoxPort {
  public:
    int shown = 0;
    zv::ui::MessageAnswer Show(const zv::ui::Message& message) override {
        ++shown;
        std::printf("  message box: %s\n", message.text.c_str());
        return zv::ui::MessageAnswer::Ok;
    }
};

class Checks {
  public:
    void Expect(bool ok, const std::string& what, const std::string& actual) {
        std::printf("%s %s (saw: %s)\n", ok ? "ok  " : "FAIL", what.c_str(), actual.c_str());
        ++(ok ? passed_ : failed_);
    }
    int Finish() const {
        std::printf("%d passed, %d failed\n", passed_, failed_);
        std::fflush(stdout);
        return failed_ == 0 ? 0 : 1;
    }

  private:
    int passed_ = 0;
    int failed_ = 0;
};

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

class Driver {
  public:
    Outcome Ping(const std::string& host, int32_t timeout_ms) {
        int before = messages_.shown;
        auto start = Clock::now();
        bool answered = engine_.PingOnce(host, timeout_ms);
        std::chrono::duration<double> took = Clock::now() - start;
        return Outcome{answered, took.count(), messages_.shown - before};
    }

    // One ping expected to give `expected` without any message box, within `max_seconds`.
    void ExpectPing(const std::string& host, int32_t timeout_ms, bool expected,
                    double max_seconds) {
        Outcome outcome = Ping(host, timeout_ms);
        checks.Expect(
            outcome.answered == expected && outcome.messages == 0 && outcome.seconds <= max_seconds,
            "PingOnce(\"" + host + "\", " + std::to_string(timeout_ms) + ") is " +
                (expected ? "true" : "false") + ", no message, within " +
                FormatSeconds(max_seconds),
            Describe(outcome));
    }

    static std::string Describe(const Outcome& outcome) {
        char text[96];
        std::snprintf(text, sizeof text, "%s after %.3f s, %d message boxes",
                      outcome.answered ? "true" : "false", outcome.seconds, outcome.messages);
        return text;
    }

    Checks checks;

  private:
    zv::win32::WinsockService sockets_;
    zv::win32::IcmpEchoService echo_;
    PrintedMessages messages_;
    zv::ping::mdlPing engine_{sockets_, echo_, messages_, "ping e2e"};
};

// Asks the sandbox for something (echo-off, echo-on) and waits, bounded, until it is done.
bool AskSandbox(const std::string& request) {
    const char* folder = std::getenv("ZV_CTL_DIR");
    if (folder == nullptr) {
        return false;
    }
    std::string base = std::string(folder) + "\\" + request;
    std::string done = base + ".done";
    DeleteFileA(done.c_str());
    HANDLE file = CreateFileA((base + ".req").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    for (int i = 0; i < 100; ++i) {
        if (GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

void Reachable(Driver& driver) {
    driver.ExpectPing("ping.zorvane.test", 1000, true, 2.0);
    driver.ExpectPing("127.0.0.1", 1000, true, 2.0);
    driver.ExpectPing("localhost", 1000, true, 2.0);
    driver.ExpectPing("nowhere.zorvane.test", 1000, false, 2.0);
    driver.ExpectPing("nowhere", 1000, false, 2.0);
    // Each of these, read loosely, would name a loopback address that answers: 383 is
    // 127 in its low byte, and a three-part text would go to address 0.
    for (const char* malformed :
         {"383.0.0.1", "127.0.1", "127.0.0.1.5", "127..0.1", "127.0.0.1.", "127.0.0.x", "   "}) {
        driver.ExpectPing(malformed, 1000, false, 0.5);
    }

    std::string wave =
        std::string(std::getenv("ZV_APP_DIR") ? std::getenv("ZV_APP_DIR") : ".") + "\\Ping.wav";
    zv::win32::WaveSound sound;
    auto start = Clock::now();
    sound.PlayWaveFile(wave);
    std::chrono::duration<double> took = Clock::now() - start;
    driver.checks.Expect(took.count() < 1.0, "playing " + wave + " returns at once",
                         std::to_string(took.count()) + " s");
}

void Silent(Driver& driver) {
    Outcome outcome = driver.Ping("127.0.0.1", 1500);
    driver.checks.Expect(!outcome.answered && outcome.messages == 0 && outcome.seconds >= 1.2 &&
                             outcome.seconds <= 6.0,
                         "PingOnce(\"127.0.0.1\", 1500) on a silent host is false after the "
                         "timeout",
                         Driver::Describe(outcome));
    driver.ExpectPing("quiet.zorvane.test", 1000, false, 6.0);

    driver.checks.Expect(AskSandbox("echo-on"), "sandbox answers echo requests again", "");
    driver.ExpectPing("quiet.zorvane.test", 1000, true, 2.0);
}

}  // namespace

int main(int argc, char** argv) {
    std::string scenario = argc > 1 ? argv[1] : "";
    Driver driver;
    if (scenario == "reachable") {
        Reachable(driver);
    } else if (scenario == "silent") {
        Silent(driver);
    } else {
        std::printf("usage: ping_driver reachable|silent\n");
        return 2;
    }
    return driver.checks.Finish();
}
