// The window ports of the control model on Win32: message boxes, the event pump and
// the system beep.
#pragma once

#include <windows.h>

#include "ui/ports.h"

namespace zv::win32 {

// Application-modal message boxes owned by the thread's active window.
class Win32MessageBox : public ui::MessageBoxPort {
  public:
    ui::MessageAnswer Show(const ui::Message& message) override;
};

// Runs the messages already queued, then returns (a WM_QUIT is kept for the main loop).
class Win32EventPump : public ui::EventPump {
  public:
    void DoEvents() override;
};

class Win32Beeper : public ui::Beeper {
  public:
    void Beep() override { MessageBeep(MB_OK); }
};

}  // namespace zv::win32
