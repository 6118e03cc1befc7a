// The small dialog that asks which days an outage report covers: from and to, whole local
// days written as "2026-12-08", the last 7 days and today by default. OK takes them, or
// says what is wrong with them and stays; Cancel (and Esc) takes nothing.
#pragma once

#include <functional>
#include <optional>

#include "monitor/clock_texts.h"
#include "ui/captioned.h"
#include "ui/field.h"
#include "ui/ports.h"
#include "ui/text_box.h"

namespace zv::monitor {

// Days before today the default period begins.
inline constexpr int kDefaultReportDays = 7;

struct ReportDays {
    DayNumber first = 0;
    DayNumber last = 0;
};

// The dialog's client size, in twips.
inline constexpr int kReportPeriodWidth = 4800;
inline constexpr int kReportPeriodHeight = 1900;

class ReportPeriodView {
  public:
    ReportPeriodView(ui::MessageBoxPort& messages, DayNumber today);

    // The days taken by OK; nothing after Cancel or while the dialog is open.
    const std::optional<ReportDays>& chosen() const { return chosen_; }
    // Runs when the dialog is to close, after OK or Cancel.
    std::function<void()> on_unload;

    ui::Window frmPeriod{"Outage Report"};
    ui::Label lblExplain{"Whole days of local time, such as 2026-12-08."};
    ui::Field<ui::TextBox> fldFrom{"&From:"};
    ui::Field<ui::TextBox> fldTo{"&To:"};
    ui::Button cmdOk{"OK"};
    ui::Button cmdCancel{"Cancel"};

  private:
    void Layout();
    void Take();
    // Why the days cannot make a report; empty when they can.
    std::string Problem(const std::optional<DayNumber>& first,
                        const std::optional<DayNumber>& last) const;
    void Close();

    ui::MessageBoxPort& messages_;
    DayNumber today_;
    std::optional<ReportDays> chosen_;
};

}  // namespace zv::monitor
