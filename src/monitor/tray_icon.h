// The notification-area ("tray") icon: the shell's icon record as this system fills it, and
// the calls that add, change and remove the icon, change its tip and show a balloon. The
// shell itself sits behind TrayPort (Shell_NotifyIconA in the real programs).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zv::monitor {

// What the shell is asked to do with the record (the NIM_ values).
enum class TrayCall : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// The mouse messages the shell reports for the icon. The callback message is the
// mouse-move message, whose x coordinate carries the code of what happened over the icon.
// A shell that reports the keyboard as well sends, after a click, a selection, and after a
// right click, the context-menu message; from the keyboard (Enter, Space, the context-menu
// key, Shift+F10) only the last two.
enum TrayMouseCode : int {
    kTrayCallbackMessage = 512,  // WM_MOUSEMOVE
    kTrayLeftButtonUp = 514,
    kTrayLeftDoubleClick = 515,
    kTrayRightButtonDown = 516,
    kTrayRightButtonUp = 517,
    kTrayContextMenu = 0x7B,  // WM_CONTEXTMENU
    kTraySelect = 0x400,      // NIN_SELECT
    kTrayKeySelect = 0x401,   // NIN_KEYSELECT
};

// The tip of the first record (64 bytes, every Windows) and of the larger record that
// shell 5.0 (Windows 2000 and Me) and later accept, which also carries balloon notices.
constexpr std::size_t kTrayTipSize = 64;
constexpr std::size_t kLargeTrayTipSize = 128;
constexpr std::uint32_t kTrayRecordSize = 88;
constexpr std::uint32_t kLargeTrayRecordSize = 488;
constexpr std::size_t kBalloonTextSize = 256;
constexpr std::size_t kBalloonTitleSize = 64;

constexpr std::uint32_t kTrayMessageIconTip = 7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP
constexpr std::uint32_t kTrayBalloon = 0x10;      // NIF_INFO

enum class BalloonIcon : std::uint32_t { Information = 1, Warning = 2 };  // NIIF_ values

// The shell's icon record in its ANSI form. hIcon is kept as the 1-based number of an
// image in the owning window's image list; the port turns it into that image's icon.
// The tip ends with a zero within the record's tip size; the balloon fields count only
// in the larger record, and only in the call that carries kTrayBalloon.
struct TrayIconRecord {
    std::uint32_t cbSize = kTrayRecordSize;
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    int hIcon = 0;
    std::array<char, kLargeTrayTipSize> szTip{};
    std::string szInfo;
    std::string szInfoTitle;
    std::uint32_t uTimeout = 0;
    std::uint32_t dwInfoFlags = 0;
};

class TrayPort {
  public:
    virtual ~TrayPort() = default;
    // Shell_NotifyIcon with the record; the result is of no interest to the caller.
    virtual void NotifyIcon(TrayCall call, const TrayIconRecord& record) = 0;
    // Whether the running shell takes the larger record (longer tips, balloons).
    virtual bool HasLargeRecord() const { return false; }
    // Asks the shell, once the icon is there, to report the keyboard on it too; false
    // when it does not (shells before 5.0).
    virtual bool ReportKeyboard(const TrayIconRecord& /*record*/) { return false; }
    // Gives the keyboard focus back to the notification area.
    virtual void GiveFocusBack(const TrayIconRecord& /*record*/) {}
};

// The one icon of a program: the record lives as long as the program; after Add its image
// and tip change, and a balloon may go out with it.
class TrayIcon {
  public:
    explicit TrayIcon(TrayPort& port) : port_(port) {}

    // AddTrayIcon: fills the record for the owning window and shows the given image.
    void Add(std::uintptr_t window, int image);
    // ChangeTrayIcon: shows another image of the window's image list.
    void Change(int image);
    // Shows another tip, cut to what the record holds; nothing goes out when it is the
    // tip already shown.
    void SetTip(const std::string& tip);
    // A balloon notice where the shell has them; false, with nothing shown, elsewhere.
    bool ShowBalloon(const std::string& title, const std::string& text, BalloonIcon icon);
    // RemoveTrayIcon: the shell finds the icon by window and ID.
    void Remove();
    // Whether the shell reports the keyboard on the icon (see TrayMouseCode).
    bool ReportsKeyboard() const { return reports_keyboard_; }
    // After a menu opened from the keyboard was cancelled.
    void GiveFocusBack() { port_.GiveFocusBack(record_); }

    const TrayIconRecord& record() const { return record_; }
    // The characters the tip holds in the record the shell takes.
    std::size_t TipLimit() const { return TipSize() - 1; }

  private:
    std::size_t TipSize() const;

    TrayPort& port_;
    TrayIconRecord record_;
    bool reports_keyboard_ = false;
};

// The text both programs show when the tray menu's Disable item is chosen (lines are CR LF).
std::string PingDisabledMessage();

}  // namespace zv::monitor
