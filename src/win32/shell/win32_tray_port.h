// The tray icon port over Shell_NotifyIconA: turns the record's image number into one of
// the owning window's icons. The icons are loaded once by the window and only borrowed
// here, so changing the picture every 200 ms creates no GDI object.
#pragma once

#include <windows.h>

#include <vector>

#include "shell/tray_icon.h"

namespace zv::win32 {

class Win32TrayPort : public shell::TrayPort {
  public:
    // images: the window's image list, numbered from 1; they must outlive the port.
    explicit Win32TrayPort(std::vector<HICON> images) : images_(std::move(images)) {}

    void NotifyIcon(shell::TrayCall call, const shell::TrayIconRecord& record) override;

  private:
    std::vector<HICON> images_;
};

}  // namespace zv::win32
