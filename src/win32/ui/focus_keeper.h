// Keeps a window's keyboard focus on one of its controls, as a dialog does, rather than on
// the bare window, where keys do nothing: the control that had the focus when the window
// lost activation gets it back when the window is active again, and the first control in
// tab order does when that one is gone, disabled or hidden.
#pragma once

#include <windows.h>

namespace zv::win32 {

class FocusKeeper {
  public:
    explicit FocusKeeper(HWND window) : window_(window) {}

    // WM_ACTIVATE and WM_SETFOCUS of the window: true when taken (the caller returns 0
    // rather than letting DefWindowProc put the focus on the window itself).
    bool OnMessage(UINT message, WPARAM wparam);

  private:
    bool Usable(HWND control) const;
    void Restore();

    HWND window_;
    HWND saved_ = nullptr;
};

// The control that has the focus now, wherever it is, and giving it back after something
// (a message box, a modal window) took the focus away; nothing when it cannot take it.
class FocusReturn {
  public:
    FocusReturn() : control_(GetFocus()) {}
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

  private:
    HWND control_;
};

}  // namespace zv::win32
