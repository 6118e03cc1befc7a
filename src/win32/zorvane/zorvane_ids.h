// The window classes and control IDs of Zorvane's windows, one namespace per window named
// after its form, each ID named after its control. The windows and the end-to-end drivers
// share them: a driver finds a window by its class and a control by its ID, and invokes a
// menu item by sending WM_COMMAND with its ID, as another process cannot read the menu.
#pragma once

#include <windows.h>

#include "main_window/main_menu.h"

namespace zv::win32 {

// The main window: the tuning area, the three buttons, the menus, toolbar and status bar.
namespace frm_main {

inline constexpr char kClassName[] = "ZorvaneMainWindow";

// The menu items: their commands are their IDs.
using namespace main_window::main_menu;

constexpr int toolbar = 300;
// A toolbar button's command is toolbar plus its 1-based position.
constexpr int Toolbar1FirstButton = 301;
constexpr int status_bar = 320;
// The window's one timer.
constexpr unsigned companion_start = 1;

// In sequence from 1000.
enum : int {
    settings_frame = 1000,
    connection_type_label,
    connection_type_list,
    optimization_mode_label,
    automatic_mode,  // "Automatic"
    manual_mode,     // "Manual"
};

// Each "Windows Default"/"Custom" pair: its frame, its "Windows Default" option, its "Custom"
// option and its value control, in sequence.
enum : int { mtu_frame = 1010, mtu_windows_default, mtu_custom, mtu_value };
enum : int { rwin_frame = 1020, rwin_windows_default, rwin_custom, rwin_value };
enum : int { ttl_frame = 1030, ttl_windows_default, ttl_custom, ttl_value };
enum : int { ska_frame = 1040, ska_windows_default, ska_custom, ska_value };
enum : int { ndi_frame = 1050, ndi_windows_default, ndi_custom, ndi_value };
// The frame of each pair, in the order of the tuning area's pair table, and where the
// pair's other controls stand after it.
constexpr int kPairFrames[] = {mtu_frame, rwin_frame, ttl_frame, ska_frame, ndi_frame};
constexpr int kPairWindowsDefault = mtu_windows_default - mtu_frame;
constexpr int kPairCustom = mtu_custom - mtu_frame;
constexpr int kPairValue = mtu_value - mtu_frame;

// In sequence from 1060.
enum : int {
    general_frame = 1060,
    path_mtu_discovery,
    black_hole_detection,
    http10_connections_label,
    http10_connections,
    http11_connections_label,
    http11_connections,
};

enum : int { cmdApply = 1100, cmdPing, cmdHelp };

}  // namespace frm_main

// The explanation of Manual mode.
namespace frm_display {

inline constexpr char kClassName[] = "ZorvaneConnectionType";

constexpr int cmdOK = IDOK;
constexpr int heading_label = 1101;
constexpr int explanation_label = 1102;

}  // namespace frm_display

// The tip of the day.
namespace frm_tip {

inline constexpr char kClassName[] = "ZorvaneTipOfTheDay";

constexpr int cmdOK = IDOK;
enum : int { heading_label = 1001, lblTipText, cmdNextTip, chkLoadTipsAtStartup };

}  // namespace frm_tip

// Current Settings.
namespace frm_current_settings {

inline constexpr char kClassName[] = "ZorvaneCurrentSettings";
inline constexpr char kCaption[] = "Current Settings";

enum : int { lvwSettings = 1301, cmdCopy, cmdSaveAs, cmdRefresh };
constexpr int cmdClose = IDCANCEL;

}  // namespace frm_current_settings

// The Network Stack window. The finding slots' labels and Fix buttons are numbered from
// their first.
namespace frm_network_stack {

inline constexpr char kClassName[] = "ZorvaneNetworkStack";

constexpr int cmdClose = IDCANCEL;
constexpr int lblFindings = 1401;
constexpr int lblFinding0 = 1410;  // to 1413
constexpr int cmdFix0 = 1420;      // to 1423
// In sequence from 1430.
enum : int {
    cmdFixAll = 1430,
    lvwStack,
    lblNewValue,
    cmbNewValue,
    cmdApply,
    lblStatus,
    cmdRefresh,
};

}  // namespace frm_network_stack

}  // namespace zv::win32
