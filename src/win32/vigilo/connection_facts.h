// What the outage report tells of the computer's connection, as Windows has it when the
// report is made: the adapter and gateway of the default route (GetIpForwardTable,
// GetAdaptersInfo from "iphlpapi.dll", looked up at run time) and the name of the local time
// zone. Nothing is sent: these are the computer's own tables.
#pragma once

#include "monitor/outage_report.h"

namespace zv::win32 {

// Texts in UTF-8, each empty where Windows did not say.
monitor::ConnectionFacts ReadConnectionFacts();

}  // namespace zv::win32
