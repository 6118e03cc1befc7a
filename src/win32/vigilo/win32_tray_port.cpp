#include "win32/vigilo/win32_tray_port.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace zv::win32 {
namespace {

// The shell's own version, as DllGetVersion of shell32 reports it (4.00 on Windows 95 and
// NT 4, 4.71/4.72 with the desktop update, 5.0 on Windows 2000 and Me, 6.0 from XP on, build
// 6000 and later from Vista on); zero when it does not say.
DLLVERSIONINFO ShellVersion() {
    DLLVERSIONINFO version{};
    version.cbSize = sizeof(version);
    HMODULE shell32 = GetModuleHandleA("shell32.dll");
    auto get_version = shell32 == nullptr
                           ? nullptr
                           : reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void (*)()>(
                                 GetProcAddress(shell32, "DllGetVersion")));
    if (get_version == nullptr || FAILED(get_version(&version))) {
        version.dwMajorVersion = 0;
    }
    return version;
}

bool ShellTakesLargeRecord() {
    return ShellVersion().dwMajorVersion >= 5;
}

// NOTIFYICON_VERSION_4 and NIF_SHOWTIP, which the headers of the XP floor leave out; with
// version 4 the shell shows the standard tip only when asked to.
constexpr UINT kVersion4 = 4;
constexpr UINT kShowTip = 0x80;

UINT NewestTrayVersion() {
    DLLVERSIONINFO version = ShellVersion();
    bool vista = version.dwMajorVersion > 6 ||
                 (version.dwMajorVersion == 6 && version.dwBuildNumber >= 6000);
    return vista ? kVersion4 : NOTIFYICON_VERSION;
}

// The fields by which the shell finds the icon, zero-filled, so that whatever the shell
// reads past the fields set is empty.
NOTIFYICONDATAA IconOf(const monitor::TrayIconRecord& record) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = reinterpret_cast<HWND>(record.hWnd);
    data.uID = record.uID;
    return data;
}

template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text) {
    std::size_t length = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

}  // namespace

Win32TrayPort::Win32TrayPort(std::vector<HICON> images)
    : images_(std::move(images)), large_record_(ShellTakesLargeRecord()) {}

void Win32TrayPort::ReplaceImages(std::vector<HICON> images) {
    images_ = std::move(images);
    if (shown_) {
        NotifyIcon(monitor::TrayCall::Modify, *shown_);
    }
}

void Win32TrayPort::NotifyIcon(monitor::TrayCall call, const monitor::TrayIconRecord& record) {
    if (call == monitor::TrayCall::Delete) {
        shown_.reset();
    } else if ((record.uFlags & NIF_ICON) != 0) {
        monitor::TrayIconRecord icon;
        icon.cbSize = record.cbSize;
        icon.hWnd = record.hWnd;
        icon.uID = record.uID;
        icon.uFlags = NIF_ICON;
        icon.hIcon = record.hIcon;
        shown_ = icon;
    }
    NOTIFYICONDATAA data = IconOf(record);
    bool large = record.cbSize == monitor::kLargeTrayRecordSize;
    data.cbSize = large ? NOTIFYICONDATAA_V2_SIZE : NOTIFYICONDATAA_V1_SIZE;
    data.uFlags = record.uFlags | (version_ == kVersion4 ? kShowTip : 0);
    data.uCallbackMessage = record.uCallbackMessage;
    if (record.hIcon >= 1 && static_cast<size_t>(record.hIcon) <= images_.size()) {
        data.hIcon = images_[static_cast<size_t>(record.hIcon) - 1];
    }
    static_assert(sizeof(data.szTip) == monitor::kLargeTrayTipSize);
    std::memcpy(data.szTip, record.szTip.data(),
                large ? monitor::kLargeTrayTipSize : monitor::kTrayTipSize);
    if (large) {
        CopyText(data.szInfo, record.szInfo);
        CopyText(data.szInfoTitle, record.szInfoTitle);
        data.uTimeout = record.uTimeout;
        data.dwInfoFlags = record.dwInfoFlags;
    }
    Shell_NotifyIconA(static_cast<DWORD>(call), &data);
}

bool Win32TrayPort::ReportKeyboard(const monitor::TrayIconRecord& record) {
    if (!large_record_) {
        return false;
    }
    NOTIFYICONDATAA data = IconOf(record);
    for (UINT version : {NewestTrayVersion(), static_cast<UINT>(NOTIFYICON_VERSION)}) {
        data.uVersion = version;
        if (Shell_NotifyIconA(NIM_SETVERSION, &data)) {
            version_ = version;
            return true;
        }
    }
    version_ = 0;
    return false;
}

void Win32TrayPort::GiveFocusBack(const monitor::TrayIconRecord& record) {
    NOTIFYICONDATAA data = IconOf(record);
    Shell_NotifyIconA(NIM_SETFOCUS, &data);
}

}  // namespace zv::win32
