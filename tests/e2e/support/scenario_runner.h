// The one main() of every driver: the driver lists its scenarios by name, and the runner
// runs the one the command line names with the words after the name, then prints
// "N passed, N failed" and returns Finish()'s exit code. A driver of one scenario leaves its
// name empty: every word goes to it. A command line no scenario takes prints the usage and
// returns 2.
//
//   return RunNamedScenario({{"reachable", RunReachable},
//                            {"dialog", "[DPI]", [](const Arguments& words) { ... }}},
//                           argc, argv);
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zv::e2e {

using Arguments = std::vector<std::string>;

struct Scenario {
    Scenario(std::string name, std::function<void()> run);  // takes no words
    // `run` returns false when it cannot make sense of its words.
    Scenario(std::string name, std::string usage, std::function<bool(const Arguments&)> run);

    std::string name;
    std::string usage;  // the words after the name, as the usage shows them
    std::function<bool(const Arguments&)> run;
};

int RunNamedScenario(const std::vector<Scenario>& scenarios, int argc, char** argv);

}  // namespace zv::e2e
