// What the ping driver's scenarios share: checks that print the value they saw, a message
// box port that prints instead of blocking, requests to the sandbox, and message pumping.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/ports.h"

namespace zv::e2e {

class Checks {
  public:
    void Expect(bool ok, const std::string& what, const std::string& actual) {
        std::printf("%s %s (saw: %s)\n", ok ? "ok  " : "FAIL", what.c_str(), actual.c_str());
        std::fflush(stdout);
        ++(ok ? passed_ : failed_);
    }
    void ExpectEqual(const std::string& what, const std::string& actual,
                     const std::string& expected) {
        Expect(actual == expected, what + " is \"" + Visible(expected) + "\"",
               "\"" + Visible(actual) + "\"");
    }
    void ExpectEqual(const std::string& what, long long actual, long long expected) {
        Expect(actual == expected, what + " is " + std::to_string(expected),
               std::to_string(actual));
    }
    int Finish() const {
        std::printf("%d passed, %d failed\n", passed_, failed_);
        std::fflush(stdout);
        return failed_ == 0 ? 0 : 1;
    }

  private:
    // Line ends written out, so that a text prints on one line.
    static std::string Visible(const std::string& text) {
        std::string shown;
        for (char c : text) {
            shown += c == '\r'   ? std::string("\\r")
                     : c == '\n' ? std::string("\\n")
                                 : std::string(1, c);
        }
        return shown;
    }

    int passed_ = 0;
    int failed_ = 0;
};

// Message boxes would stop the run: print and count them instead.
class PrintedMessages : public ui::MessageBoxPort {
  public:
    int shown = 0;
    std::string last;
    ui::MessageAnswer Show(const ui::Message& message) override {
        ++shown;
        last = message.text;
        std::printf("  message box: %s\n", message.text.c_str());
        return ui::MessageAnswer::Ok;
    }
};

// Asks the sandbox for something ("echo-on", "shot-NAME") and waits, bounded, until done.
bool AskSandbox(const std::string& request);

// Runs the window messages that arrive within the time.
void PumpMessages(DWORD milliseconds);

std::string WindowText(HWND window);

}  // namespace zv::e2e
