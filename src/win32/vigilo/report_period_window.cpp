#include "win32/vigilo/report_period_window.h"

#include "win32/vigilo/vigilo_ids.h"

namespace zv::win32 {

std::optional<monitor::ReportDays> ReportPeriodWindow::Ask(HWND owner, monitor::DayNumber today) {
    ReportPeriodWindow window(today);
    if (!window.Build(owner)) {
        return std::nullopt;
    }
    window.RunModal(owner);
    return window.dialog_.chosen();
}

ReportPeriodWindow::ReportPeriodWindow(monitor::DayNumber today) : dialog_(messages_, today) {
    dialog_.on_unload = [this] { CloseSoon(); };
}

// Created in tab order. OK and Cancel carry IDOK and IDCANCEL, which Enter and Esc send.
bool ReportPeriodWindow::Build(HWND owner) {
    constexpr DialogShape kShape{frm_report_period::kClassName, monitor::kReportPeriodWidth,
                                 monitor::kReportPeriodHeight, 0, false};
    if (!MakeWindow(kShape, dialog_.frmPeriod, owner)) {
        return false;
    }
    namespace id = frm_report_period;
    binder().AddLabel(dialog_.lblExplain, id::lblExplain, SS_LEFT | SS_NOPREFIX);
    binder().AddField(dialog_.fldFrom, id::lblFrom, id::txtFrom);
    binder().AddField(dialog_.fldTo, id::lblTo, id::txtTo);
    binder().AddButton(dialog_.cmdOk, IDOK, BS_DEFPUSHBUTTON);
    binder().AddButton(dialog_.cmdCancel, IDCANCEL);
    return true;
}

}  // namespace zv::win32
