// The stand-in netsh.exe (tests/e2e/netstack/stand_in_netsh.cpp), built beside the drivers:
// placed in the sandbox's system folder instead of Wine's own, it records each command line
// it is run with and ends with the exit code a driver chose, once the driver lets it go.
#pragma once

#include <string>
#include <vector>

namespace zv::e2e {

bool PlaceStandInNetsh();
void SetNetshExitCode(int code);
// Makes each run wait (up to 30 s) until the driver lets it go.
bool HoldNetsh();
void LetNetshGo();
// Its arguments, one line a run, since the last call.
std::vector<std::string> NetshCalls();
// Checks that the runs since the last call are one, which stores MTU as an adapter's IPv4
// MTU, the adapter named by its index.
void CheckNetshStoresMtu(int mtu);

}  // namespace zv::e2e
