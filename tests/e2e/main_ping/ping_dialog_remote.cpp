#include "ping_dialog_remote.h"

#include "support/windows_on_screen.h"
#include "win32/ping/ping_ids.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

namespace id = win32::frm_ping;

}  // namespace

bool PingDialogRemote::OpenWith(int command) {
    if (command == win32::frm_main::cmdPing) {
        zorvane_.PostClick(command);
    } else {
        zorvane_.PostCommand(command);
    }
    window_ = WaitForWindow({zorvane_.process().id(), id::kClassName, "Ping Configuration"});
    Settle();
    return window_ != nullptr;
}

void PingDialogRemote::ReplaceHost(const std::string& keys) {
    HWND host = Control(id::txtPingHost);
    SendMessageA(host, EM_SETSEL, 0, -1);
    SendMessageA(host, WM_CLEAR, 0, 0);
    Type(id::txtPingHost, keys);
}

bool PingDialogRemote::WaitClosed() {
    bool gone = WaitForWindowGone(window_);
    bool main_enabled = WaitUntil([this] { return IsWindowEnabled(zorvane_.main()) != FALSE; });
    window_ = nullptr;
    return gone && main_enabled;
}

}  // namespace zv::e2e
