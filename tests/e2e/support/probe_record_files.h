// A companion's lasting record written before it starts, as a test or bench wants it: the
// store itself lays the probes out in memory, then its files are written for real.
#pragma once

#include <string>
#include <vector>

#include "monitor/probe_history.h"

namespace zv::e2e {

// Writes `probes` (oldest first, regular and extra) as the record under the local
// application-data folder `root`, as a companion whose count began at `start` would have.
void WriteProbeRecord(const std::string& root, const monitor::Moment& start,
                      const std::vector<monitor::Probe>& probes);

// The user's local application-data folder, as the shell names it.
std::string LocalAppDataFolder();

// The UTC and local offset of now.
monitor::WallTime WallNow();

}  // namespace zv::e2e
