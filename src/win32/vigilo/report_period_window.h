// The real "Outage Report" period dialog over its controller: From and To with their
// labels, OK (Enter) and Cancel (Esc), modal.
#pragma once

#include <windows.h>

#include <optional>

#include "monitor/report_period_view.h"
#include "win32/ui/small_dialog.h"
#include "win32/ui/win_ports.h"

namespace zv::win32 {

class ReportPeriodWindow : public SmallDialog {
  public:
    // Asks for the days, with today as the clock reads it; nothing when cancelled.
    static std::optional<monitor::ReportDays> Ask(HWND owner, monitor::DayNumber today);

  private:
    explicit ReportPeriodWindow(monitor::DayNumber today);
    bool Build(HWND owner);

    Win32MessageBox messages_;
    monitor::ReportPeriodView dialog_;
};

}  // namespace zv::win32
