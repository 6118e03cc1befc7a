// Requests to the sandbox around the driver, made through its control folder
// (%ZV_CTL_DIR%): the driver writes <name>.req and the sandbox answers with <name>.done.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "support/wait.h"

namespace zv::e2e {

// Makes request <name> and waits for the sandbox to say it is done; false outside the
// sandbox or when no answer came in time.
bool RequestFromSandbox(const std::string& name, DWORD timeout_ms = kDefaultTimeoutMs);

// Makes request <name> and returns what the sandbox wrote into its answer; nothing outside
// the sandbox or when no answer came in time.
std::optional<std::string> AnswerFromSandbox(const std::string& name,
                                             DWORD timeout_ms = kDefaultTimeoutMs);

// Asks the sandbox to answer ICMP echo requests, or to ignore them, so a host can go
// silent and come back while a program runs; true when it did in time.
bool SetSandboxEcho(bool answer);

}  // namespace zv::e2e
