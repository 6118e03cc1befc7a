// The scenarios of the Tools driver, and what each emulated release gives them.
#pragma once

#include <string>

namespace zv::e2e {

struct ToolsRelease {
    std::string name;        // win98, winxp, win10
    std::string interfaces;  // the key whose subkeys get the per-interface values
    std::string ttl_key;     // where the TTL lives in the release's layout
    std::string reg_header;  // the first line of an export
};

void RunDeployScenario(const ToolsRelease& release);

}  // namespace zv::e2e
