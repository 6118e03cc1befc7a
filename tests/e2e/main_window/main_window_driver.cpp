// The main program end to end: first start, Automatic and Manual mode, every validation
// message, Apply with and without restart, what Apply leaves in the registry and in
// "Zorvane.cfg", the next start, Restore, Backup, a second copy and the start-up argument.
//   main_window_driver manual     (an NT release)
//   main_window_driver automatic  (a 9x release)
//   main_window_driver tip        (a Help-menu tip keeps the program after its window)
#include "scenarios.h"
#include "support/scenario_runner.h"

int main(int argc, char** argv) {
    using namespace zv::e2e;
    return RunNamedScenario({{"manual", RunManualScenario},
                             {"automatic", RunAutomaticScenario},
                             {"tip", RunModelessTipScenario}},
                            argc, argv);
}
