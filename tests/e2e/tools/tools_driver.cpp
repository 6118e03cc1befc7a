// The Tools menu's work end to end, on an emulated Windows release:
//   tools_driver deploy win98|winxp|win10   /undo and /export, the export imported
//   tools_driver window win98|winxp|win10   the Tools menu: Current Settings, Undo
//   tools_driver command_line winxp|win10   /apply and /restore against the window
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/check.h"
#include "tools_scenarios.h"

namespace {

const char kNtInterfaces[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const char kNtTcpip[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const char kVersion5[] = "Windows Registry Editor Version 5.00";

std::optional<zv::e2e::ToolsRelease> Release(const std::string& name) {
    if (name == "win98") {
        return zv::e2e::ToolsRelease{name, "System\\CurrentControlSet\\Services\\Class\\NetTrans",
                                     "System\\CurrentControlSet\\Services\\VxD\\MSTCP", "REGEDIT4"};
    }
    if (name == "winxp" || name == "win10") {
        return zv::e2e::ToolsRelease{name, kNtInterfaces, kNtTcpip, kVersion5};
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    std::string scenario = argc > 1 ? argv[1] : "";
    std::optional<zv::e2e::ToolsRelease> release = Release(argc > 2 ? argv[2] : "");
    if (scenario == "deploy" && release) {
        zv::e2e::RunDeployScenario(*release);
    } else if (scenario == "window" && release) {
        zv::e2e::RunWindowScenario(*release);
    } else if (scenario == "command_line" && release) {
        zv::e2e::RunCommandLineScenario(*release);
    } else {
        std::printf("usage: tools_driver deploy|window|command_line win98|winxp|win10\n");
        return 2;
    }
    return zv::e2e::Finish();
}
