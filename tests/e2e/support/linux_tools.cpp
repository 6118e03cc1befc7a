#include "support/linux_tools.h"

#include <sstream>
#include <string>

#include "support/sandbox_control.h"

namespace zv::e2e {

bool StartLinkLoad(LinkDirection direction, int seconds) {
    const char* name = direction == LinkDirection::kDown ? "load-down-" : "load-up-";
    return RequestFromSandbox(name + std::to_string(seconds));
}

std::optional<long> WaitForLinkLoad(DWORD timeout_ms) {
    std::optional<std::string> answer = AnswerFromSandbox("load-wait", timeout_ms);
    long kbits = 0;
    if (!answer || !(std::istringstream(*answer) >> kbits)) {
        return std::nullopt;
    }
    return kbits;
}

bool StartLinuxPing() {
    return RequestFromSandbox("ping-start");
}

std::optional<std::vector<double>> StopLinuxPing() {
    std::optional<std::string> answer = AnswerFromSandbox("ping-stop");
    if (!answer) {
        return std::nullopt;
    }
    std::istringstream lines(*answer);
    std::vector<double> round_trips;
    for (double ms = 0; lines >> ms;) {
        round_trips.push_back(ms);
    }
    return round_trips;
}

}  // namespace zv::e2e
