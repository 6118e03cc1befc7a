// Linux's own tools on the program's side of the sandbox's shaped network (--servers),
// started and stopped through the control folder while a program runs: iperf3 loads the
// customer link, and Linux ping measures the round trip to the host beside the program's
// own figures.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

namespace zv::e2e {

enum class LinkDirection { kDown, kUp };

// iperf3 loads the link for `seconds`, downloading from the host or uploading to it; true
// once it started.
bool StartLinkLoad(LinkDirection direction, int seconds);
// Waits for that load to end: the goodput the receiving side saw, in kbit/s; nothing when
// iperf3 failed or no answer came in time.
std::optional<long> WaitForLinkLoad(DWORD timeout_ms);

// Linux ping sends an echo request to the host every 0.2 s until stopped; true once it did.
bool StartLinuxPing();
// Stops it: each round trip it measured, in ms; nothing when no answer came.
std::optional<std::vector<double>> StopLinuxPing();

}  // namespace zv::e2e
