// The companion's lasting record end to end: killed again and again, once in the middle of
// writing a probe, it comes back with its history.
#pragma once

namespace zv::e2e {

// Runs with the probe host answering on loopback.
void RecordScenario();

}  // namespace zv::e2e
