// A launcher port that records every launch and answers process starts from a script.
#pragma once

#include <string>
#include <vector>

#include "launch/launcher_port.h"

namespace zv::testing {

struct Launch {
    std::string kind;  // "open" or "run"
    std::string target;
    int show = 0;
    bool operator==(const Launch& other) const {
        return kind == other.kind && target == other.target && show == other.show;
    }
};

class RecordingLauncher : public launch::LauncherPort {
  public:
    std::vector<Launch> launches;
    unsigned long run_result = 0;

    void ShellOpen(const std::string& target, int show_mode) override {
        launches.push_back({"open", target, show_mode});
    }
    unsigned long RunCommand(const std::string& command_line, int window_style) override {
        launches.push_back({"run", command_line, window_style});
        return run_result;
    }
};

}  // namespace zv::testing
