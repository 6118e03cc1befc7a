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

constexpr int Toolbar1 = 300;
// A toolbar button's command is Toolbar1 plus its 1-based position.
constexpr int Toolbar1FirstButton = 301;
constexpr int StatusBar1 = 320;
// The window's one timer.
constexpr unsigned companion_start = 1;

constexpr int settings_frame = 1000;
constexpr int connection_type_label = 1001;
constexpr int connection_type_list = 1002;
constexpr int optimization_mode_label = 1003;
constexpr int automatic_mode = 1004;  // "Automatic"
constexpr int manual_mode = 1005;     // "Manual"

constexpr int mtu_frame = 1010;
constexpr int mtu_windows_default = 1011;
constexpr int mtu_custom = 1012;
constexpr int mtu_value = 1013;
constexpr int rwin_frame = 1020;
constexpr int rwin_windows_default = 1021;
constexpr int rwin_custom = 1022;
constexpr int rwin_value = 1023;
constexpr int ttl_frame = 1030;
constexpr int ttl_windows_default = 1031;
constexpr int ttl_custom = 1032;
constexpr int ttl_value = 1033;
constexpr int ska_frame = 1040;
constexpr int ska_windows_default = 1041;
constexpr int ska_custom = 1042;
constexpr int ska_value = 1043;
constexpr int ndi_frame = 1050;
constexpr int ndi_windows_default = 1051;
constexpr int ndi_custom = 1052;
constexpr int ndi_value = 1053;
constexpr int general_frame = 1060;
constexpr int path_mtu_discovery = 1061;
constexpr int black_hole_detection = 1062;
constexpr int http10_connections_label = 1063;
constexpr int http10_connections = 1064;
constexpr int http11_connections_label = 1065;
constexpr int http11_connections = 1066;

constexpr int cmdApply = 1100;
constexpr int cmdPing = 1101;
constexpr int cmdHelp = 1102;

// The frame of each "Windows Default"/"Custom" pair, in the order of the tuning area's pair
// table; the pair's "Windows Default" option, "Custom" option and value control have the
// three IDs after it.
constexpr int kPairFrames[] = {mtu_frame, rwin_frame, ttl_frame, ska_frame, ndi_frame};
constexpr int kPairWindowsDefault = 1;
constexpr int kPairCustom = 2;
constexpr int kPairValue = 3;

}  // namespace frm_main

// The explanation of Manual mode.
namespace frm_display {

inline constexpr char kClassName[] = "ZorvaneConnectionType";

constexpr int cmdOK = IDOK;
constexpr int Label1 = 1101;
constexpr int Label2 = 1102;

}  // namespace frm_display

// The tip of the day.
namespace frm_tip {

inline constexpr char kClassName[] = "ZorvaneTipOfTheDay";

constexpr int cmdOK = IDOK;
constexpr int Label1 = 1001;
constexpr int lblTipText = 1002;
constexpr int cmdNextTip = 1003;
constexpr int chkLoadTipsAtStartup = 1004;

}  // namespace frm_tip

// Current Settings.
namespace frm_current_settings {

inline constexpr char kClassName[] = "ZorvaneCurrentSettings";
inline constexpr char kCaption[] = "Current Settings";

constexpr int lvwSettings = 1301;
constexpr int cmdCopy = 1302;
constexpr int cmdSaveAs = 1303;
constexpr int cmdRefresh = 1304;
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
constexpr int cmdFixAll = 1430;
constexpr int lvwStack = 1431;
constexpr int lblNewValue = 1432;
constexpr int cmbNewValue = 1433;
constexpr int cmdApply = 1434;
constexpr int lblStatus = 1435;
constexpr int cmdRefresh = 1436;

}  // namespace frm_network_stack

}  // namespace zv::win32
