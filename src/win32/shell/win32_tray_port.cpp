#include "win32/shell/win32_tray_port.h"

#include <shellapi.h>

#include <cstring>

namespace zv::win32 {

void Win32TrayPort::NotifyIcon(shell::TrayCall call, const shell::TrayIconRecord& record) {
    // The full-size record, zero-filled: the 64 tip bytes carry no terminating zero of
    // their own, and a shell that reads the tip as a string stops at the zero after them.
    NOTIFYICONDATAA data{};
    // The first layout of the record, the one whose tip is 64 bytes (88 bytes on 32-bit
    // Windows).
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = reinterpret_cast<HWND>(record.hWnd);
    data.uID = record.uID;
    data.uFlags = record.uFlags;
    data.uCallbackMessage = record.uCallbackMessage;
    if (record.hIcon >= 1 && static_cast<size_t>(record.hIcon) <= images_.size()) {
        data.hIcon = images_[static_cast<size_t>(record.hIcon) - 1];
    }
    static_assert(sizeof(data.szTip) > shell::kTrayTipSize);
    std::memcpy(data.szTip, record.szTip.data(), shell::kTrayTipSize);
    Shell_NotifyIconA(static_cast<DWORD>(call), &data);
}

}  // namespace zv::win32
