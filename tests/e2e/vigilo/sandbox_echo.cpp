#include "sandbox_echo.h"

#include <string>

#include "support/files.h"
#include "support/wait.h"

namespace zv::e2e {

bool SetSandboxEcho(bool answer) {
    std::string control = EnvironmentVariable("ZV_CTL_DIR");
    if (control.empty()) {
        return false;
    }
    std::string base = control + (answer ? "\\echo-on" : "\\echo-off");
    RemoveFile(base + ".done");
    return WriteWholeFile(base + ".req", "") &&
           WaitUntil([&] { return FileIsPresent(base + ".done"); });
}

}  // namespace zv::e2e
