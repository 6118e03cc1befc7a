#include "support/sandbox_control.h"

#include "support/files.h"

namespace zv::e2e {

bool RequestFromSandbox(const std::string& name, DWORD timeout_ms) {
    std::string control = EnvironmentVariable("ZV_CTL_DIR");
    if (control.empty()) {
        return false;
    }
    std::string base = control + "\\" + name;
    RemoveFile(base + ".done");
    return WriteWholeFile(base + ".req", "") &&
           WaitUntil([&] { return FileIsPresent(base + ".done"); }, timeout_ms);
}

std::optional<std::string> AnswerFromSandbox(const std::string& name, DWORD timeout_ms) {
    if (!RequestFromSandbox(name, timeout_ms)) {
        return std::nullopt;
    }
    return ReadWholeFile(EnvironmentVariable("ZV_CTL_DIR") + "\\" + name + ".done");
}

bool SetSandboxEcho(bool answer) {
    return RequestFromSandbox(answer ? "echo-on" : "echo-off");
}

}  // namespace zv::e2e
