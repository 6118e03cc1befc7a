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
// NT 4, 4.71/4.72 with the desktop update, 5.0 on Windows 2000 and Me, 6.0 from XP on).
bool ShellTakesLargeRecord() {
    HMODULE shell32 = GetModuleHandleA("shell32.dll");
    if (shell32 == nullptr) {
        return false;
    }
    auto get_version = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(shell32, "DllGetVersion")));
    DLLVERSIONINFO version{};
    version.cbSize = sizeof(version);
    return get_version != nullptr && SUCCEEDED(get_version(&version)) &&
           version.dwMajorVersion >= 5;
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
    // Zero-filled, so that whatever the shell reads past the fields set here is empty.
    NOTIFYICONDATAA data{};
    bool large = record.cbSize == monitor::kLargeTrayRecordSize;
    data.cbSize = large ? NOTIFYICONDATAA_V2_SIZE : NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = reinterpret_cast<HWND>(record.hWnd);
    data.uID = record.uID;
    data.uFlags = record.uFlags;
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

}  // namespace zv::win32
