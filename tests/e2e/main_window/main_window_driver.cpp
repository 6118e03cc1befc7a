// The main program end to end: first start, Automatic and Manual mode, every validation
// message, Apply with and without restart, what Apply leaves in the registry and in
// "Zorvane.cfg", the next start, Restore, Backup, a second copy and the start-up argument.
//   main_window_driver manual     (an NT release)
//   main_window_driver automatic  (a 9x release)
//   main_window_driver tip        (a Help-menu tip keeps the program after its window)
#include <windows.h>

#include <cstdio>
#include <string>

#include "scenarios.h"
#include "support/check.h"

int main(int argc, char** argv) {
    std::string scenario = argc > 1 ? argv[1] : "";
    if (scenario == "manual") {
        zv::e2e::RunManualScenario();
    } else if (scenario == "automatic") {
        zv::e2e::RunAutomaticScenario();
    } else if (scenario == "tip") {
        zv::e2e::RunModelessTipScenario();
    } else {
        std::printf("usage: main_window_driver manual|automatic|tip\n");
        return 2;
    }
    return zv::e2e::Finish();
}
