// Windows' restart in memory: records the calls, and refuses when told to.
#pragma once

#include <string>
#include <vector>

#include "sysconfig/system_ports.h"

namespace zv::testing {

class ScriptedRestart : public sysconfig::RestartPort {
  public:
    std::vector<std::string> calls;
    bool refuse = false;
    void EnableShutdownPrivilege() override { calls.push_back("privilege"); }
    bool Reboot() override {
        calls.push_back("reboot");
        return !refuse;
    }
};

}  // namespace zv::testing
