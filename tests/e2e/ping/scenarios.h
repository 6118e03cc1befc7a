// The scenarios of the ping driver; each adds its checks to the run's.
#pragma once

#include "driver_support.h"

namespace zv::e2e {

// Echo requests on loopback: names, addresses, unknown and malformed hosts, the sound.
void RunReachable(Checks& checks);
// Echo requests to a host that does not answer, then answers again.
void RunSilent(Checks& checks);
// The real frmPing window, modeless and modal, driven through its controls; expected_dpi
// is the screen DPI the run was given, or 0 for any.
void RunDialog(Checks& checks, int expected_dpi);

}  // namespace zv::e2e
