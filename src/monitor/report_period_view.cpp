#include "monitor/report_period_view.h"

#include <utility>

#include "monitor/outage_report.h"

namespace zv::monitor {

ReportPeriodView::ReportPeriodView(ui::MessageBoxPort& messages, DayNumber today)
    : messages_(messages), today_(today) {
    fldFrom.box.SetMaxLength(10);
    fldTo.box.SetMaxLength(10);
    fldFrom.box.SetText(DayText(today - kDefaultReportDays));
    fldTo.box.SetText(DayText(today));
    cmdOk.on_click = [this] { Take(); };
    cmdCancel.on_click = [this] { Close(); };
    Layout();
}

// In twips: the explanation, the two days side by side, OK and Cancel at the foot.
void ReportPeriodView::Layout() {
    const std::pair<ui::Control*, ui::Bounds> kPlaces[] = {
        {&lblExplain, {120, 120, 4560, 255}},  {&fldFrom.label, {120, 555, 600, 255}},
        {&fldFrom.box, {720, 525, 1300, 315}}, {&fldTo.label, {2260, 555, 360, 255}},
        {&fldTo.box, {2620, 525, 1300, 315}},  {&cmdOk, {2360, 1405, 1100, 375}},
        {&cmdCancel, {3580, 1405, 1100, 375}},
    };
    for (const auto& [control, bounds] : kPlaces) {
        control->SetBounds(bounds);
    }
}

std::string ReportPeriodView::Problem(const std::optional<DayNumber>& first,
                                      const std::optional<DayNumber>& last) const {
    if (!first || !last) {
        return "Write each day as year, month and day, such as " + DayText(today_) + ".";
    }
    if (*last < *first) {
        return "The period ends before it begins.";
    }
    if (*first > today_) {
        return "The period has not begun yet.";
    }
    if (*last - *first >= kMostReportDays) {
        return "A report covers " + std::to_string(kMostReportDays) + " days at most.";
    }
    return "";
}

void ReportPeriodView::Take() {
    std::optional<DayNumber> first = ParseDay(fldFrom.box.text());
    std::optional<DayNumber> last = ParseDay(fldTo.box.text());
    std::string problem = Problem(first, last);
    if (!problem.empty()) {
        messages_.Show(
            {problem, "Outage Report", ui::MessageButtons::Ok, ui::MessageIcon::Exclamation});
        return;
    }
    chosen_ = ReportDays{*first, *last};
    Close();
}

void ReportPeriodView::Close() {
    if (on_unload) {
        on_unload();
    }
}

}  // namespace zv::monitor
