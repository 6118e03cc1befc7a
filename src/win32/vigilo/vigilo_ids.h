// The window classes, control and command IDs of the companion's windows, one namespace per
// window named after its form, each ID named after its control. The windows and the test
// drivers share them.
#pragma once

#include "monitor/history_lines.h"
#include "monitor/vigilo_menu.h"
#include "ui/palette.h"
#include "win32/vigilo/vigilo_res.h"

namespace zv::win32 {

// The hidden window behind the tray icon: its tray menu, its timers and the resource IDs of
// imgVigilo's pictures.
namespace frm_vigilo {

// The menu items: their commands are their IDs.
using namespace monitor::vigilo_menu;

constexpr unsigned TimerVigilo = 1;
constexpr unsigned TimerIcon = 2;
constexpr unsigned TimerPing = 3;
constexpr unsigned TimerBusy = 4;

// imgVigilo: image n of the list is the icon resource IDI_IMGVIGILO1 + n - 1.
constexpr unsigned imgVigilo1 = IDI_IMGVIGILO1;
constexpr int imgVigiloCount = 5;

}  // namespace frm_vigilo

// The connection history window.
namespace frm_history {

inline constexpr char kClassName[] = "ZorvaneConnectionHistory";

// The figure lines under the graph: their IDs stand in their table.
using namespace monitor::history_lines;

constexpr int optSpan1 = 201;
constexpr int optSpan6 = 202;
constexpr int optSpan24 = 203;
constexpr int chkLog = 206;
constexpr int chkNotices = 207;
constexpr int lblLog = 208;
constexpr int cmdSave = 209;
constexpr int cmdClose = 210;
constexpr int lblHost = 214;
constexpr int txtHost = 215;
constexpr int lblSlow = 216;
constexpr int txtSlowMs = 217;
constexpr int lblSlowLoss = 218;
constexpr int txtSlowLoss = 219;
constexpr int cmdApply = 220;
constexpr int chkBloatNotice = 235;
constexpr int optSpan168 = 236;
constexpr int optSpan720 = 237;
// The graph as the keyboard and screen readers meet it, between Back and the figures.
constexpr int graph = 238;
constexpr int cmdReport = 250;

// What the graph draws each mark with in the programs' own colours, so that a screenshot can
// be read back.
constexpr unsigned long kLossColor = ui::NormalColour(ui::Role::Loss);
constexpr unsigned long kUpColor = ui::NormalColour(ui::Role::UpBand);
constexpr unsigned long kDownColor = ui::NormalColour(ui::Role::DownBand);
constexpr unsigned long kRoundTripColor = ui::NormalColour(ui::Role::RoundTrip);
constexpr unsigned long kRangeColor = ui::NormalColour(ui::Role::Spread);
constexpr unsigned long kYourNetworkColor = ui::NormalColour(ui::Role::YourNetworkBand);
constexpr unsigned long kYourProviderColor = ui::NormalColour(ui::Role::YourProviderBand);
constexpr unsigned long kBeyondProviderColor = ui::NormalColour(ui::Role::BeyondProviderBand);

}  // namespace frm_history

// The outage report's period.
namespace frm_report_period {

inline constexpr char kClassName[] = "ZorvaneOutageReportPeriod";

// OK and Cancel are IDOK and IDCANCEL, which Enter and Esc send.
enum : int { lblExplain = 401, lblFrom, txtFrom, lblTo, txtTo };

}  // namespace frm_report_period

// The responsiveness test's window.
namespace frm_rpm {

inline constexpr char kClassName[] = "ZorvaneResponsivenessTest";

// In sequence from 301.
enum : int {
    lblServer = 301,
    txtServer,
    cmdStart,
    cmdCancel,
    lblStatus,
    prgProgress,
    lblResult,
    cmdCopy,
    cmdClose,
};

}  // namespace frm_rpm

}  // namespace zv::win32
