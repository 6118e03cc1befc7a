#include "monitor/tray_icon.h"

#include <algorithm>
#include <cstring>

#include "common/program_name.h"

namespace zv::monitor {
namespace {

constexpr std::uint32_t kTrayIconId = 1;
constexpr std::uint32_t kBalloonTimeoutMs = 10000;

// Copies as much of the text as fits before the terminating zero.
template <std::size_t N>
void CopyTip(std::array<char, N>& field, const std::string& text, std::size_t size) {
    field.fill('\0');
    std::memcpy(field.data(), text.data(), std::min(text.size(), size - 1));
}

// A text longer than the balloon holds ends at a word with "...", so that the reader
// knows more was to be said (the whole of it stands where the balloon's news comes from).
std::string BalloonText(const std::string& text) {
    if (text.size() < kBalloonTextSize) {
        return text;
    }
    const std::string more = "...";
    std::size_t room = kBalloonTextSize - 1 - more.size();
    std::size_t space = text.rfind(' ', room);
    return text.substr(0, space == std::string::npos || space == 0 ? room : space) + more;
}

}  // namespace

std::size_t TrayIcon::TipSize() const {
    return record_.cbSize == kLargeTrayRecordSize ? kLargeTrayTipSize : kTrayTipSize;
}

void TrayIcon::Add(std::uintptr_t window, int image) {
    record_.cbSize = port_.HasLargeRecord() ? kLargeTrayRecordSize : kTrayRecordSize;
    record_.hWnd = window;
    record_.uID = kTrayIconId;
    record_.uFlags = kTrayMessageIconTip;
    record_.uCallbackMessage = kTrayCallbackMessage;
    record_.hIcon = image;
    // The tooltip of every icon of this system starts as the program's name.
    CopyTip(record_.szTip, kProgramName, TipSize());
    port_.NotifyIcon(TrayCall::Add, record_);
    reports_keyboard_ = port_.ReportKeyboard(record_);
}

void TrayIcon::Change(int image) {
    record_.hIcon = image;
    port_.NotifyIcon(TrayCall::Modify, record_);
}

void TrayIcon::SetTip(const std::string& tip) {
    std::array<char, kLargeTrayTipSize> field{};
    CopyTip(field, tip, TipSize());
    if (field != record_.szTip) {
        record_.szTip = field;
        port_.NotifyIcon(TrayCall::Modify, record_);
    }
}

// The balloon goes out with one call only: the icon changes many times a second, and each
// call carrying it would show it again.
bool TrayIcon::ShowBalloon(const std::string& title, const std::string& text, BalloonIcon icon) {
    if (record_.cbSize != kLargeTrayRecordSize) {
        return false;
    }
    TrayIconRecord balloon = record_;
    balloon.uFlags |= kTrayBalloon;
    balloon.szInfo = BalloonText(text);
    balloon.szInfoTitle = title.substr(0, kBalloonTitleSize - 1);
    balloon.uTimeout = kBalloonTimeoutMs;
    balloon.dwInfoFlags = static_cast<std::uint32_t>(icon);
    port_.NotifyIcon(TrayCall::Modify, balloon);
    return true;
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

}  // namespace zv::monitor
