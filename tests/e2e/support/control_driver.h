// A window's controls found by ID, driven with the messages a user's actions send and read
// back. The window may belong to another process: texts are read with the W functions,
// the only ones that ask another process's control. After each action sent, `settle` gives
// the window's owner a moment to run what it started: Settle for another process, a message
// pump for a window of the driver's own thread.
#pragma once

#include <windows.h>

#include <string>

namespace zv::e2e {

// Lets the other process run the message just posted or sent.
void Settle();

class ControlDriver {
  public:
    explicit ControlDriver(HWND window = nullptr, void (*settle)() = Settle)
        : window_(window), settle_(settle) {}

    HWND window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    std::string Text(int id) const;  // an edit's text, or a list's selected item
    bool Checked(int id) const;
    bool Enabled(int id) const;
    int Selection(int id) const;  // a list's position, -1 for none

    void Click(int id);      // BM_CLICK, waits for the handler
    void PostClick(int id);  // for clicks that open a modal window
    void Type(int id, const std::string& keys);
    void Pick(int id, int position);  // CB_SETCURSEL and the CBN_SELCHANGE a user's pick sends
    void PostPick(int id, int position);
    void PostCommand(int id);  // a menu item

  protected:
    HWND window_;

  private:
    void (*settle_)();
};

}  // namespace zv::e2e
