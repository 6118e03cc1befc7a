#include "shell/tray_icon.h"

#include <algorithm>
#include <cstring>

#include "common/program_name.h"

namespace zv::shell {
namespace {

constexpr std::uint32_t kTrayIconId = 1;
constexpr std::uint32_t kMessageIconTip = 7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP

}  // namespace

void TrayIcon::Add(std::uintptr_t window, int image) {
    record_.hWnd = window;
    record_.uID = kTrayIconId;
    record_.uFlags = kMessageIconTip;
    record_.uCallbackMessage = kTrayCallbackMessage;
    record_.hIcon = image;
    // The tooltip of every icon of this system, in every state, is the program's name.
    record_.szTip.fill(' ');
    std::memcpy(record_.szTip.data(), kProgramName,
                std::min(sizeof(kProgramName) - 1, kTrayTipSize));
    port_.NotifyIcon(TrayCall::Add, record_);
}

void TrayIcon::Change(int image) {
    record_.hIcon = image;
    port_.NotifyIcon(TrayCall::Modify, record_);
}

void TrayIcon::Remove() {
    port_.NotifyIcon(TrayCall::Delete, record_);
}

std::string PingDisabledMessage() {
    return "You have only disabled the Ping utility...\r\n"
           "\r\n"
           "Zorvane will continue boosting your Internet connection.\r\n"
           "In order to disable the connection acceleration, you will have to run the "
           "uninstall program.";
}

}  // namespace zv::shell
