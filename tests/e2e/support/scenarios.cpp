#include "support/scenarios.h"

#include <cstdio>
#include <utility>

#include "support/check.h"

namespace zv::e2e {
namespace {

// "ping_driver" from "Z:\...\ping_driver.exe".
std::string DriverName(const char* path) {
    std::string name = path != nullptr ? path : "driver";
    name = name.substr(name.find_last_of("\\/") + 1);
    const std::string exe = ".exe";
    if (name.size() > exe.size() && name.compare(name.size() - exe.size(), exe.size(), exe) == 0) {
        name.resize(name.size() - exe.size());
    }
    return name;
}

int PrintUsage(const std::string& driver, const std::vector<Scenario>& scenarios) {
    std::printf("usage:\n");
    for (const Scenario& scenario : scenarios) {
        std::string words = scenario.name;
        words += words.empty() || scenario.usage.empty() ? "" : " ";
        std::printf("  %s %s\n", driver.c_str(), (words + scenario.usage).c_str());
    }
    return 2;
}

}  // namespace

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
        if (scenario.name.empty() || named) {
            const Arguments arguments(words.begin() + (named ? 1 : 0), words.end());
            return scenario.run(arguments) ? Finish() : PrintUsage(DriverName(argv[0]), scenarios);
        }
    }
    return PrintUsage(DriverName(argv[0]), scenarios);
}

}  // namespace zv::e2e
