// The notification-area ("tray") icon: the shell's icon record as this system fills it, and
// the three calls that add, change and remove the icon. Both programs use the same record;
// the shell itself sits behind TrayPort (Shell_NotifyIconA in the real programs).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zv::shell {

// What the shell is asked to do with the record (the NIM_ values).
enum class TrayCall : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// The mouse messages the shell reports for the icon. The callback message is the
// mouse-move message, whose x coordinate carries the code of what happened over the icon.
enum TrayMouseCode : int {
    kTrayCallbackMessage = 512,  // WM_MOUSEMOVE
    kTrayLeftButtonUp = 514,
    kTrayLeftDoubleClick = 515,
    kTrayRightButtonDown = 516,
    kTrayRightButtonUp = 517,
};

constexpr std::size_t kTrayTipSize = 64;

// The shell's icon record in its ANSI form. hIcon is kept as the 1-based number of an
// image in the owning window's image list; the port turns it into that image's icon.
struct TrayIconRecord {
    std::uint32_t cbSize = 88;
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    int hIcon = 0;
    std::array<char, kTrayTipSize> szTip{};  // blank-padded, not zero-terminated
};

class TrayPort {
  public:
    virtual ~TrayPort() = default;
    // Shell_NotifyIcon with the record; the result is of no interest to the caller.
    virtual void NotifyIcon(TrayCall call, const TrayIconRecord& record) = 0;
};

// The one icon of a program: the record lives as long as the program and after Add only
// its image changes.
class TrayIcon {
  public:
    explicit TrayIcon(TrayPort& port) : port_(port) {}

    // AddTrayIcon: fills the record for the owning window and shows the given image.
    void Add(std::uintptr_t window, int image);
    // ChangeTrayIcon: shows another image of the window's image list.
    void Change(int image);
    // RemoveTrayIcon: the shell finds the icon by window and ID.
    void Remove();

    const TrayIconRecord& record() const { return record_; }

  private:
    TrayPort& port_;
    TrayIconRecord record_;
};

// The text both programs show when the tray menu's Disable item is chosen (lines are CR LF).
std::string PingDisabledMessage();

}  // namespace zv::shell
