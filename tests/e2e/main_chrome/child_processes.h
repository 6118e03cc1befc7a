// Watching the processes a program under test starts: each new child with its command
// line, read from the child's own process parameters while it runs.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace zv::e2e {

struct StartedProcess {
    DWORD id = 0;
    std::string image;         // file name, e.g. "rundll32.exe"
    std::string command_line;  // "" when the child ended before it could be read
};

class ChildWatcher {
  public:
    explicit ChildWatcher(DWORD parent_id);
    // The children started since the last call (or since construction), waiting up to
    // timeout_ms for the first one.
    std::vector<StartedProcess> WaitForNew(DWORD timeout_ms);

  private:
    std::vector<StartedProcess> Poll();

    DWORD parent_id_;
    std::set<DWORD> seen_;
};

}  // namespace zv::e2e
