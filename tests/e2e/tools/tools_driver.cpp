// The Tools menu's work end to end, on an emulated Windows release:
//   tools_driver deploy win98|winxp|win10   /undo and /export, the export imported
//   tools_driver window win98|winxp|win10   the Tools menu: Current Settings, Undo
//   tools_driver command_line winxp|win10   /apply and /restore against the window
#include <functional>
#include <optional>
#include <string>

#include "fakes/registry_paths.h"
#include "support/scenario_runner.h"
#include "tools_scenarios.h"

namespace zv::e2e {
namespace {

std::optional<ToolsRelease> Release(const std::string& name) {
    if (name == "win98") {
        return ToolsRelease{name, test_keys::kNetTrans, test_keys::kMstcp, "REGEDIT4"};
    }
    if (name == "winxp" || name == "win10") {
        return ToolsRelease{name, test_keys::kInterfaces, test_keys::kTcpip,
                            "Windows Registry Editor Version 5.00"};
    }
    return std::nullopt;
}

// The scenario run on the release its one word names.
Scenario OnRelease(const char* name, std::function<void(const ToolsRelease&)> run) {
    return {name, "win98|winxp|win10", [run](const Arguments& words) {
                std::optional<ToolsRelease> release = Release(words.empty() ? "" : words[0]);
                if (release) {
                    run(*release);
                }
                return release.has_value();
            }};
}

}  // namespace
}  // namespace zv::e2e

int main(int argc, char** argv) {
    using namespace zv::e2e;
    return RunNamedScenario(
        {OnRelease("deploy", RunDeployScenario), OnRelease("window", RunWindowScenario),
         OnRelease("command_line", RunCommandLineScenario)},
        argc, argv);
}
