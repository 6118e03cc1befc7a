#include "support/control_driver.h"

#include "support/windows_on_screen.h"

namespace zv::e2e {

void Settle() {
    Sleep(150);
}

std::string ControlDriver::Text(int id) const {
    HWND control = Control(id);
    wchar_t wide[512] = {};
    if (WindowClass(control) == "ComboBox") {
        int selection = Selection(id);
        if (selection < 0) {
            return "";
        }
        SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(selection),
                     reinterpret_cast<LPARAM>(wide));
    } else {
        // GetWindowText does not ask another process's edit control for its text.
        SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(wide));
    }
    char narrow[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

bool ControlDriver::Checked(int id) const {
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool ControlDriver::Enabled(int id) const {
    return IsWindowEnabled(Control(id)) != FALSE;
}

int ControlDriver::Selection(int id) const {
    return static_cast<int>(SendMessageA(Control(id), CB_GETCURSEL, 0, 0));
}

void ControlDriver::Click(int id) {
    SendMessageA(Control(id), BM_CLICK, 0, 0);
    settle_();
}

void ControlDriver::PostClick(int id) {
    e2e::PostClick(window_, id);
}

void ControlDriver::Type(int id, const std::string& keys) {
    for (char key : keys) {
        SendMessageA(Control(id), WM_CHAR, static_cast<unsigned char>(key), 1);
    }
    settle_();
}

void ControlDriver::Pick(int id, int position) {
    SendMessageA(Control(id), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(id)));
    settle_();
}

void ControlDriver::PostPick(int id, int position) {
    SendMessageA(Control(id), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(id)));
}

void ControlDriver::PostCommand(int id) {
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

}  // namespace zv::e2e
