#include "ping_dialog_remote.h"

#include "support/windows_on_screen.h"
#include "win32/ping/ping_dialog_ids.h"
#include "win32/zorvane/frm_main_ids.h"

namespace zv::e2e {
namespace {

namespace id = win32::frm_ping_ids;

// The window class of the real dialog.
constexpr char kPingDialogClass[] = "ZorvanePingConfiguration";

// Lets the other process run the message just sent or posted.
void Settle() {
    Sleep(150);
}

}  // namespace

bool PingDialogRemote::OpenWith(int command) {
    if (command == win32::frm_main::cmdPing) {
        zorvane_.PostClick(command);
    } else {
        zorvane_.PostCommand(command);
    }
    dialog_ = WaitForWindow({zorvane_.process().id(), kPingDialogClass, "Ping Configuration"});
    Settle();
    return dialog_ != nullptr;
}

std::string PingDialogRemote::Text(int control) const {
    return WindowText(Item(control));
}

bool PingDialogRemote::Checked(int control) const {
    return SendMessageA(Item(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool PingDialogRemote::Enabled(int control) const {
    return IsWindowEnabled(Item(control)) != FALSE;
}

int PingDialogRemote::Selection() const {
    return static_cast<int>(SendMessageA(Item(id::cmbPingInterval), CB_GETCURSEL, 0, 0));
}

// Read with the W function: the A one returns UTF-16 for another process's list.
std::string PingDialogRemote::SelectedText() const {
    int position = Selection();
    if (position < 0) {
        return "";
    }
    wchar_t wide[64] = {};
    SendMessageW(Item(id::cmbPingInterval), CB_GETLBTEXT, static_cast<WPARAM>(position),
                 reinterpret_cast<LPARAM>(wide));
    char narrow[128] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

void PingDialogRemote::Click(int control) {
    SendMessageA(Item(control), BM_CLICK, 0, 0);
    Settle();
}

void PingDialogRemote::PostClick(int control) {
    e2e::PostClick(dialog_, control);
}

void PingDialogRemote::ReplaceHost(const std::string& keys) {
    HWND host = Item(id::txtPingHost);
    SendMessageA(host, EM_SETSEL, 0, -1);
    SendMessageA(host, WM_CLEAR, 0, 0);
    for (char key : keys) {
        SendMessageA(host, WM_CHAR, static_cast<unsigned char>(key), 1);
    }
    Settle();
}

void PingDialogRemote::Pick(int position) {
    HWND list = Item(id::cmbPingInterval);
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id::cmbPingInterval, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    Settle();
}

bool PingDialogRemote::WaitClosed() {
    bool gone = WaitForWindowGone(dialog_);
    bool main_enabled = WaitUntil([this] { return IsWindowEnabled(zorvane_.main()) != FALSE; });
    dialog_ = nullptr;
    return gone && main_enabled;
}

}  // namespace zv::e2e
