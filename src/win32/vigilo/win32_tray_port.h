// The tray icon port over Shell_NotifyIconA: turns the record's image number into one of
// the owning window's icons, and gives the shell the record's layout it knows: the larger
// one (128-byte tip, balloons) from shell 5.0 on, the first one before. The icons are
// loaded once by the window and only borrowed here, so changing the picture every 200 ms
// creates no GDI object. Where the shell can, it is asked to report the keyboard on the
// icon as well.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "monitor/tray_icon.h"

namespace zv::win32 {

class Win32TrayPort : public monitor::TrayPort {
  public:
    // images: the window's image list, numbered from 1; they must outlive the port.
    explicit Win32TrayPort(std::vector<HICON> images);
    // Other pictures from the next notice on (the scheme changed).

    void NotifyIcon(monitor::TrayCall call, const monitor::TrayIconRecord& record) override;
    bool HasLargeRecord() const override { return large_record_; }
    // The newest behaviour the shell knows: version 4 from Vista on, 3 on 2000 and XP.
    bool ReportKeyboard(const monitor::TrayIconRecord& record) override;
    void GiveFocusBack(const monitor::TrayIconRecord& record) override;
    // With version 4 the callback's wparam carries the icon's place on the screen.
    bool AnchorsInWparam() const { return version_ == 4; }

    // The same pictures at another size (a new DPI); the icon on show takes the new one of
    // its picture. The old images must outlive this call.
    void ReplaceImages(std::vector<HICON> images);

  private:
    std::vector<HICON> images_;
    bool large_record_;
    // The icon on show: its window, ID, picture and record size; none before Add or after
    // Delete.
    std::optional<monitor::TrayIconRecord> shown_;
    UINT version_ = 0;
};

}  // namespace zv::win32
