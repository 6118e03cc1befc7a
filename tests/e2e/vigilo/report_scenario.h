// The outage report end to end on the sandbox's routed network: the gateway, then the
// provider, silent at times the driver notes; the report of the last week, asked for from
// the tray menu, lists each outage where and when the script put it.
#pragma once

namespace zv::e2e {

void OutageReportScenario();

}  // namespace zv::e2e
