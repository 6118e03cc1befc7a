// The ping driver: runs one scenario in the sandbox against the real Windows Sockets, ICMP
// echo service and windows, and ends with "N passed, N failed".
//
//   ping_driver reachable     loopback answers (ping.zorvane.test mapped to 127.0.0.5)
//   ping_driver silent        echo ignored (quiet.zorvane.test mapped to 127.0.0.9)
//   ping_driver dialog [DPI]  the ping configuration dialog (on a screen of DPI dots per inch)

#include <cstdio>
#include <cstdlib>
#include <string>

#include "scenarios.h"
#include "support/check.h"

int main(int argc, char** argv) {
    std::string scenario = argc > 1 ? argv[1] : "";
    if (scenario == "reachable") {
        zv::e2e::RunReachable();
    } else if (scenario == "silent") {
        zv::e2e::RunSilent();
    } else if (scenario == "dialog") {
        zv::e2e::RunDialog(argc > 2 ? std::atoi(argv[2]) : 0);
    } else {
        std::printf("usage: ping_driver reachable|silent|dialog [DPI]\n");
        return 2;
    }
    return zv::e2e::Finish();
}
