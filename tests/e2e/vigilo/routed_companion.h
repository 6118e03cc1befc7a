// The companion on the sandbox's routed network, with its history window open: what the
// scenarios there share.
#pragma once

#include <windows.h>

#include <string>

#include "support/process.h"
#include "support/tray_observer.h"

namespace zv::e2e {

// Mapped to the host's namespace by the tests' sandbox options; the public default host is
// not mapped, so nothing answers for it.
inline constexpr char kRoutedProbeHost[] = "probe.zorvane.test";

// The history window's line of the state now, with the link up.
inline constexpr char kConnected[] = R"(Now: connected, \d+ ms)";
// A probe, a confirming probe, each with its echo, TCP and hop timeouts, and the wait for
// the first of them.
inline constexpr DWORD kOutageSeenMs = 150000;

// Waits up to LIMIT_MS for the control's text to match PATTERN (a regular expression), and
// notes the text it ended with.
bool WaitForText(HWND control, const std::string& pattern, DWORD limit_ms);

// Started with its history window open (nullptr when either did not come up); Exit at the
// end.
struct Companion {
    Companion();
    ~Companion();
    Companion(const Companion&) = delete;
    Companion& operator=(const Companion&) = delete;

    TrayObserver tray;
    ChildProcess process;
    HWND monitor;
    HWND history;
    HWND now;  // the history window's line of the state now
};

// The companion, with the probe host mapped in the sandbox, once its history window tells
// of the link up; false when the window did not open.
bool ConnectedToProbeHost(Companion& companion);

}  // namespace zv::e2e
