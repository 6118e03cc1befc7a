#include "win32/ui/focus_keeper.h"

namespace zv::win32 {

bool FocusKeeper::OnMessage(UINT message, WPARAM wparam) {
    if (message == WM_ACTIVATE) {
        if (LOWORD(wparam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(window_, focus)) {
                saved_ = focus;
            }
            return false;
        }
        if (HIWORD(wparam) != 0) {  // activated while minimised: no control to show
            return false;
        }
        Restore();
        return true;
    }
    if (message == WM_SETFOCUS) {
        Restore();
        return true;
    }
    return false;
}

bool FocusKeeper::Usable(HWND control) const {
    return control != nullptr && IsWindow(control) && IsChild(window_, control) &&
           IsWindowEnabled(control) && IsWindowVisible(control);
}

void FocusKeeper::Restore() {
    HWND target = Usable(saved_) ? saved_ : GetNextDlgTabItem(window_, nullptr, FALSE);
    if (target != nullptr) {
        SetFocus(target);
    }
}

FocusReturn::~FocusReturn() {
    if (control_ != nullptr && IsWindow(control_) && IsWindowEnabled(control_) &&
        IsWindowVisible(control_)) {
        SetFocus(control_);
    }
}

}  // namespace zv::win32
