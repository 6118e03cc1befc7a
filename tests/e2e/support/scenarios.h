// The one main() of every driver: a driver lists its scenarios by name, and the runner runs
// the one its command line names and ends with "N passed, N failed".
//
//   int main(int argc, char** argv) {
//       return zv::e2e::RunNamedScenario(
//           {{"reachable", RunReachable},
//            {"dialog", "[DPI]", [](const Arguments& words) { ...; return true; }}},
//           argc, argv);
//   }
//
// The words after the name go to the scenario. A driver of one scenario may leave its name
// empty: every word then goes to it. The exit code is Finish()'s (0 when something was
// checked and nothing failed, 1 otherwise), or 2 for a command line no scenario takes, after
// the usage is printed.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zv::e2e {

using Arguments = std::vector<std::string>;

struct Scenario {
    // A scenario that reads no words (any given are left alone).
    Scenario(std::string name, std::function<void()> run);
    // One that reads its words, and returns false when it cannot make sense of them.
    Scenario(std::string name, std::string usage, std::function<bool(const Arguments&)> run);

    std::string name;
    std::string usage;  // the words after the name, as the usage line shows them
    std::function<bool(const Arguments&)> run;
};

int RunNamedScenario(const std::vector<Scenario>& scenarios, int argc, char** argv);

}  // namespace zv::e2e
