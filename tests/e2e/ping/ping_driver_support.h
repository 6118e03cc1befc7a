// The ping driver's scenarios, and what they need beyond the shared driver support: a
// message box port that prints instead of blocking, and running window messages the way the
// programs' own loop does.
#pragma once

#include <windows.h>

#include <string>

#include "ui/ports.h"

namespace zv::e2e {

// Echo requests on loopback: names, addresses, unknown and malformed hosts, the sound.
void RunReachable();
// Echo requests to a host that does not answer, then answers again.
void RunSilent();
// The real frmPing window, modeless and modal, driven through its controls; expected_dpi
// is the screen DPI the run was given, or 0 for any.
void RunDialog(int expected_dpi);

class PrintedMessages : public ui::MessageBoxPort {
  public:
    int shown = 0;
    std::string last;
    ui::MessageAnswer Show(const ui::Message& message) override;
};

// Runs the window messages that arrive within the time, with the dialog keyboard
// interface (Tab, Enter, Esc) of the programs' message loop.
void PumpMessages(DWORD milliseconds);

}  // namespace zv::e2e
