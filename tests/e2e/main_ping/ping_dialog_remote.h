// The ping configuration dialog of a running Zorvane.exe, driven from outside: opened by
// one of the main window's commands, read and changed through its controls, and closed.
#pragma once

#include <windows.h>

#include <string>

#include "zorvane_session.h"

namespace zv::e2e {

class PingDialogRemote {
  public:
    explicit PingDialogRemote(ZorvaneSession& zorvane) : zorvane_(zorvane) {}

    // Sends the command to the main window and waits for the dialog; false when none came.
    bool OpenWith(int command);
    HWND window() const { return dialog_; }

    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    std::string Text(int id) const;
    bool Checked(int id) const;
    bool Enabled(int id) const;
    int Selection() const;  // the interval list's position, -1 for none
    std::string SelectedText() const;

    void Click(int id);                         // BM_CLICK, for buttons that open nothing
    void PostClick(int id);                     // for OK, which may show a message box
    void ReplaceHost(const std::string& keys);  // selects the host text, types over it
    void Pick(int position);                    // a user's pick in the interval list

    // True when the dialog went away in time and the main window takes input again.
    bool WaitClosed();

  private:
    ZorvaneSession& zorvane_;
    HWND dialog_ = nullptr;
};

}  // namespace zv::e2e
