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
};

}  // namespace zv::e2e
