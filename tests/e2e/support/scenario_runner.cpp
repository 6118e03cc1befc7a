#include "support/scenario_runner.h"

#include <cstdio>
#include <utility>

#include "support/check.h"

namespace zv::e2e {

Scenario::Scenario(std::string name, std::function<void()> run)
    : name(std::move(name)), run([run = std::move(run)](const Arguments&) {
          run();
          return true;
      }) {}

Scenario::Scenario(std::string name, std::string usage, std::function<bool(const Arguments&)> run)
    : name(std::move(name)), usage(std::move(usage)), run(std::move(run)) {}

int RunNamedScenario(const std::vector<Scenario>& scenarios, int argc, char** argv) {
    const Arguments words(argv + 1, argv + argc);
    for (const Scenario& scenario : scenarios) {
        const bool named = !words.empty() && words[0] == scenario.name;
        if ((named || scenario.name.empty()) &&
            scenario.run(Arguments(words.begin() + (named ? 1 : 0), words.end()))) {
            return Finish();
        }
    }
    std::printf("usage:\n");
    for (const Scenario& scenario : scenarios) {
        std::printf("  %s %s %s\n", argv[0], scenario.name.c_str(), scenario.usage.c_str());
    }
    return 2;
}

}  // namespace zv::e2e
