// The latency when the link is busy, end to end on the sandbox's shaped customer link:
// iperf3 fills the link's buffer, the companion finds the link busy by its interface's
// counters, samples it with extra probes and gives its verdict, which Linux ping, run beside
// it during the same load, confirms.
#pragma once

#include "support/scenario_runner.h"

namespace zv::e2e {

// Words: the buffer the sandbox gave the link, "bloated" (500 KB, 400 ms when full) or
// "managed" (12.5 KB, 10 ms).
bool BloatScenario(const Arguments& words);

}  // namespace zv::e2e
