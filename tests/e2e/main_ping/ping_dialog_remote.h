// The ping configuration dialog of a running Zorvane.exe, driven from outside: opened by
// one of the main window's commands, read and changed through its controls, and closed.
#pragma once

#include <windows.h>

#include <string>

#include "support/zorvane_session.h"

namespace zv::e2e {

class PingDialogRemote : public ControlDriver {
  public:
    explicit PingDialogRemote(ZorvaneSession& zorvane) : zorvane_(zorvane) {}

    // Sends the command to the main window and waits for the dialog; false when none came.
    bool OpenWith(int command);

    void ReplaceHost(const std::string& keys);  // selects the host text, types over it

    // True when the dialog went away in time and the main window takes input again.
    bool WaitClosed();

  private:
    ZorvaneSession& zorvane_;
};

}  // namespace zv::e2e
