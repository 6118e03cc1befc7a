// The log file's line for one probe.
#pragma once

#include <string>

#include "monitor/link_words.h"
#include "monitor/probe_history.h"

namespace zv::monitor {

// "2025-03-01T14:05:30+01:00 www.example.org 23 ms; loss 0% (10 min) 1% (1 h);
// jitter 2 ms; 95th percentile 40 ms", "... 30 ms (TCP only, may be a proxy); ...", "...
// 23 ms (name lookup failed); ..." or "... lost (your provider); ...", then the load when it
// was measured ("; load 9600 kbit/s in, 180 kbit/s out, 96%, busy") and "; extra probe" for
// one sent while the link was busy, with CR LF.
std::string LogLine(const Probe& probe, const std::string& host, const RecentFigures& recent);

}  // namespace zv::monitor
