// The companion's record of the link end to end: tip, history window and log.
#pragma once

namespace zv::e2e {

// Runs with the probe host answering on loopback; returns the driver's exit code.
void HistoryScenario();

}  // namespace zv::e2e
