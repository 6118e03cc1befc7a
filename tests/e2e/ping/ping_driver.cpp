// The ping driver: runs one scenario in the sandbox against the real Windows Sockets, ICMP
// echo service and windows.
//
//   ping_driver reachable     loopback answers (ping.zorvane.test mapped to 127.0.0.5)
//   ping_driver silent        echo ignored (quiet.zorvane.test mapped to 127.0.0.9)
//   ping_driver dialog [DPI]  the ping configuration dialog (on a screen of DPI dots per inch)

#include <cstdlib>

#include "ping_driver_support.h"
#include "support/scenario_runner.h"

int main(int argc, char** argv) {
    using namespace zv::e2e;
    return RunNamedScenario({{"reachable", RunReachable},
                             {"silent", RunSilent},
                             {"dialog", "[DPI]",
                              [](const Arguments& words) {
                                  RunDialog(words.empty() ? 0 : std::atoi(words[0].c_str()));
                                  return true;
                              }}},
                            argc, argv);
}
