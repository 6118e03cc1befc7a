// The scenarios of the ping driver; each adds its checks to the run's tally.
#pragma once

namespace zv::e2e {

// Echo requests on loopback: names, addresses, unknown and malformed hosts, the sound.
void RunReachable();
// Echo requests to a host that does not answer, then answers again.
void RunSilent();
// The real PingDialogView window, modeless and modal, driven through its controls; expected_dpi
// is the screen DPI the run was given, or 0 for any.
void RunDialog(int expected_dpi);

}  // namespace zv::e2e
