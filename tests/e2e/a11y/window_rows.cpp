#include "window_rows.h"

#include "support/check.h"
#include "support/key_presses.h"
#include "support/windows_on_screen.h"
#include "win32/ping/ping_ids.h"
#include "win32/ui/window_base.h"
#include "win32/vigilo/vigilo_ids.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

namespace w = zv::win32;
namespace frm_main = w::frm_main;

// clang-format off
// The main window's controls; Tab stops as Automatic mode leaves them, with the pairs off.
// Wine names a combo box by its selection (Windows by the label before it); a pair's value
// box, which follows its options, is named by a label no one sees.
std::vector<ControlRow> MainWindow(bool manual) {
    return {
        {frm_main::status_bar, "Choose your wanted Settings and Press \"Apply\"", kNoTab},
        {frm_main::settings_frame, "Modify your Internet Settings in Order to improve your "
                                   "computer Networking Performance", kNoTab},
        {frm_main::connection_type_label, "Connection Type", kNoTab},
        {frm_main::connection_type_list, "Dial-up (Modem)", kTab},
        {frm_main::optimization_mode_label, "Optimization Mode", kNoTab},
        {frm_main::automatic_mode, "Automatic", !manual},
        {frm_main::manual_mode, "Manual", manual},
        {frm_main::mtu_frame, " MTU (Max Transmission Unit)", kNoTab},
        {frm_main::mtu_windows_default, "Windows Default", manual},
        {frm_main::mtu_custom, "Custom", kNoTab},
        {frm_main::mtu_value, "Custom MTU (Max Transmission Unit)", kNoTab},
        {frm_main::rwin_frame, "RWIN (Receive Window)", kNoTab},
        {frm_main::rwin_windows_default, "Windows Default", manual},
        {frm_main::rwin_custom, "Custom", kNoTab},
        {frm_main::rwin_value, kNoName, kNoTab},  // empty: nothing chosen
        {frm_main::ttl_frame, "TTL (Time To Live)", kNoTab},
        {frm_main::ttl_windows_default, "Windows Default", manual},
        {frm_main::ttl_custom, "Custom", kNoTab},
        {frm_main::ttl_value, "Custom TTL (Time To Live)", kNoTab},
        {frm_main::ska_frame, "Session Keep Alive", kNoTab},
        {frm_main::ska_windows_default, "Windows Default", manual},
        {frm_main::ska_custom, "Custom", kNoTab},
        {frm_main::ska_value, kNoName, kNoTab},  // empty: nothing chosen
        {frm_main::ndi_frame, "NDI Cache", kNoTab},
        {frm_main::ndi_windows_default, "Windows Default", manual},
        {frm_main::ndi_custom, "Custom", kNoTab},
        {frm_main::ndi_value, kNoName, kNoTab},  // empty: nothing chosen
        {frm_main::general_frame, "General Settings", kNoTab},
        {frm_main::path_mtu_discovery, "Path MTU Auto Discovery", manual},
        {frm_main::black_hole_detection, "Black Hole Routers Detect", manual},
        {frm_main::http10_connections_label, "MSCPS Using HTTP 1.0", kNoTab},
        {frm_main::http10_connections, manual ? "2" : kNoName, manual},  // off: empty
        {frm_main::http11_connections_label, "MSCPS Using HTTP 1.1", kNoTab},
        {frm_main::http11_connections, manual ? "4" : kNoName, manual},  // off: empty
        {frm_main::cmdApply, "Apply", kTab},
        {frm_main::cmdPing, "Ping Configuration", kTab},
        {frm_main::cmdHelp, "Help", kTab},
    };
}

namespace tip = w::frm_tip;
namespace current = w::frm_current_settings;
namespace stack = w::frm_network_stack;
namespace mtu = w::frm_mtu;
namespace ping = w::frm_ping;
namespace display = w::frm_display;
namespace history = w::frm_history;
namespace rpm = w::frm_rpm;
namespace period = w::frm_report_period;

const std::vector<ControlRow> kTip = {
    {tip::heading_label, "Did you know...", kNoTab},
    {tip::lblTipText, "*", kNoTab},  // a tip of the file, by chance
    {tip::cmdOK, "OK", kTab},
    {tip::cmdNextTip, "Next Tip", kTab},
    {tip::chkLoadTipsAtStartup, "Show Tips at Startup", kTab},
};

const std::vector<ControlRow> kCurrentSettings = {
    {current::lvwSettings, kNoName, kTab},  // Wine: only edit boxes take a label
    {current::cmdCopy, "Copy", kTab},
    {current::cmdSaveAs, "Save As...", kTab},
    {current::cmdRefresh, "Refresh", kTab},
    {current::cmdClose, "Close", kTab},
};

// Nothing harmful found: the finding slots are hidden, the value's controls off.
const std::vector<ControlRow> kNetworkStack = {
    {stack::lblFindings, "No harmful settings found.", kNoTab},
    {stack::cmdFixAll, "Fix All", kNoTab},
    {stack::lvwStack, kNoName, kTab},  // Wine: only edit boxes take a label
    {stack::lblNewValue, "New value:", kNoTab},
    {stack::cmbNewValue, kNoName, kNoTab},  // empty: nothing chosen
    {stack::cmdApply, "Apply Changes", kNoTab},
    {stack::cmdRefresh, "Refresh", kTab},
    {stack::cmdClose, "Close", kTab},
};

const std::vector<ControlRow> kFindLargestMtu = {
    {mtu::lblExplain, "Finds the largest packet that reaches a host whole: *", kNoTab},
    {mtu::lblHost, "Host:", kNoTab},
    {mtu::txtHost, "Host:", kTab},
    {mtu::cmdFind, "Find", kTab},
    {mtu::prgSearch, kNoName, kNoTab},  // Wine: only edit boxes take a label
    {mtu::cmdAdapter, "Use for This Adapter", kNoTab},
    {mtu::cmdUse, "Use in Manual Mode", kNoTab},
    {mtu::cmdCancel, "Close", kTab},
};

const std::vector<ControlRow> kPingConfiguration = {
    {ping::explanation_label, "Most Internet Service Providers Disconnect users *", kNoTab},
    {ping::configuration_frame, "Configuration", kNoTab},
    {ping::automatic_mode, "Automatic Mode", kTab},
    {ping::manual_mode, "Manual Mode", kNoTab},
    {ping::host_label, "Ping Host", kNoTab},
    {ping::txtPingHost, "Ping Host", kNoTab},
    {ping::interval_label, "Ping Interval", kNoTab},
    {ping::cmbPingInterval, "5 min.", kNoTab},
    {ping::cmdOK, "OK", kTab},
    {ping::cmdCancel, "Cancel", kTab},
    {ping::chkSound, "Play Sound at Ping", kTab},
    {ping::cmdDefault, "Default", kTab},
    {ping::cmdHelp, "Help", kTab},
};

const std::vector<ControlRow> kManualModeExplained = {
    {display::heading_label, "You choose to use the \"Manual Optimization Mode\".", kNoTab},
    {display::explanation_label, "Try various settings combinations *", kNoTab},
    {display::cmdOK, "OK", kTab},
};

const std::vector<ControlRow> kConnectionHistory = {
    {history::optSpan1, "Last hour", kTab},
    {history::optSpan6, "Last 6 hours", kNoTab},
    {history::optSpan24, "Last 24 hours", kNoTab},
    {history::optSpan168, "Last 7 days", kNoTab},
    {history::optSpan720, "Last 30 days", kNoTab},
    {w::kBackButtonId, "Back", kNoTab},
    {history::graph, "Graph, 1 hour ago to now. Now: connected, *", kTab},
    {history::lblNow, "Now: connected, *", kNoTab},
    {history::lblRoundTrip, "Round trip: min *", kNoTab},
    {history::lblLoss, "Loss: 0% (0 lost probes of *", kNoTab},
    {history::lblRecent, "Loss in the last 10 minutes: 0%, last hour: 0%", kNoTab},
    {history::lblWhere, "Outages: your network 0, your provider 0, beyond your provider 0",
     kNoTab},
    {history::lblLoad, "Load: not measured yet", kNoTab},
    {history::lblBloat, "Latency when busy: *", kNoTab},
    {history::lblResponsiveness, "Responsiveness: no test yet (tray menu, Test Responsiveness...)",
     kNoTab},
    {history::chkLog, "Write every probe to the log file", kTab},
    {history::chkNotices, "Show a notice when the connection drops or returns", kTab},
    {history::chkBloatNotice, "Show a notice when the bufferbloat grade gets worse", kTab},
    {history::lblHost, "Probe host:", kNoTab},
    {history::txtHost, "Probe host:", kTab},
    {history::lblSlow, "Slow notice at median round trip (ms):", kNoTab},
    {history::txtSlowMs, "Slow notice at median round trip (ms):", kTab},
    {history::lblSlowLoss, "or loss (%):", kNoTab},
    {history::txtSlowLoss, "or loss (%):", kTab},
    {history::cmdApply, "Apply", kTab},
    {history::cmdReport, "Outage Report...", kTab},
    {history::cmdSave, "Save History As...", kTab},
    {history::cmdClose, "Close", kTab},
};

const std::vector<ControlRow> kResponsivenessTest = {
    {rpm::lblServer, "Test server:", kNoTab},
    {rpm::txtServer, "Test server:", kTab},
    {rpm::cmdStart, "Start", kTab},
    {rpm::cmdCancel, "Cancel", kNoTab},
    {rpm::lblStatus, "The test loads your connection for up to half a minute; *", kNoTab},
    {rpm::prgProgress, kNoName, kNoTab},  // Wine: only edit boxes take a label
    {rpm::cmdCopy, "Copy Result", kNoTab},
    {rpm::cmdClose, "Close", kTab},
};

const std::vector<ControlRow> kOutageReportPeriod = {
    {period::lblExplain, "Whole days of local time, such as *", kNoTab},
    {period::lblFrom, "From:", kNoTab},
    {period::txtFrom, "From:", kTab},
    {period::lblTo, "To:", kNoTab},
    {period::txtTo, "To:", kTab},
    {IDOK, "OK", kTab},
    {IDCANCEL, "Cancel", kTab},
};
// clang-format on

}  // namespace

const std::vector<WindowRows>& AllWindowRows() {
    static const std::vector<WindowRows> rows = {
        {"main window", Program::Zorvane, frm_main::kClassName, Via::AtStart, 0, "FVTH",
         MainWindow(false)},
        {"tip of the day", Program::Zorvane, tip::kClassName, Via::Command,
         frm_main::menu_tip_of_the_day, "", kTip},
        {"current settings", Program::Zorvane, current::kClassName, Via::Command,
         frm_main::menu_current_settings, "", kCurrentSettings},
        {"network stack", Program::Zorvane, stack::kClassName, Via::Command,
         frm_main::menu_network_stack, "", kNetworkStack},
        {"find largest MTU", Program::Zorvane, mtu::kClassName, Via::Command,
         frm_main::menu_find_largest_mtu, "", kFindLargestMtu},
        {"ping configuration", Program::Zorvane, ping::kClassName, Via::Command,
         frm_main::menu_ping_configuration, "", kPingConfiguration},
        {"manual mode explained", Program::Zorvane, display::kClassName, Via::Click,
         frm_main::manual_mode, "", kManualModeExplained},
        {"main window in manual mode", Program::Zorvane, frm_main::kClassName, Via::AtStart, 0,
         "FVTH", MainWindow(true)},
        {"connection history", Program::Vigilo, history::kClassName, Via::Command,
         w::frm_vigilo::menu_history, "", kConnectionHistory},
        {"responsiveness test", Program::Vigilo, rpm::kClassName, Via::Command,
         w::frm_vigilo::menu_test_responsiveness, "", kResponsivenessTest},
        {"outage report period", Program::Vigilo, period::kClassName, Via::Command,
         w::frm_vigilo::menu_outage_report, "", kOutageReportPeriod},
    };
    return rows;
}

std::vector<int> TabStops(const WindowRows& rows) {
    std::vector<int> stops;
    for (const ControlRow& row : rows.controls) {
        if (row.tab) {
            stops.push_back(row.id);
        }
    }
    return stops;
}

HWND OpenWindow(const WindowRows& rows, const Opened& programs) {
    bool of_vigilo = rows.program == Program::Vigilo;
    HWND owner = of_vigilo ? programs.monitor : programs.main;
    if (rows.via == Via::Command) {
        PostMessageA(owner, WM_COMMAND, static_cast<WPARAM>(rows.command), 0);
    } else if (rows.via == Via::Click) {
        PostClick(owner, rows.command);
    }
    HWND window = WaitForWindow({0, rows.class_name, "", true}, 10000);
    if (window != nullptr) {
        SetForegroundWindow(window);
        Sleep(300);
    }
    return window;
}

// Esc closes every window but the main one, as it cancels a dialog.
void CloseWindow(HWND window, const WindowRows& rows, const Opened&) {
    if (rows.via == Via::AtStart) {
        return;
    }
    SetForegroundWindow(window);
    PressKey(VK_ESCAPE);
    if (!E2E_CHECK(WaitForWindowGone(window, 3000))) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        WaitForWindowGone(window);
    }
}

}  // namespace zv::e2e
