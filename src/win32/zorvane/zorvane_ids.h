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

constexpr int Frame1 = 1000;
constexpr int Label1 = 1001;
constexpr int cmbNetType = 1002;
constexpr int Label2 = 1003;
constexpr int optOptimization0 = 1004;  // "Automatic"
constexpr int optOptimization1 = 1005;  // "Manual"

constexpr int Frame2 = 1010;
constexpr int optMTU1 = 1011;
constexpr int optMTU2 = 1012;
constexpr int txtMTU = 1013;
constexpr int Frame3 = 1020;
constexpr int optRWIN1 = 1021;
constexpr int optRWIN2 = 1022;
constexpr int cmbRWIN = 1023;
constexpr int Frame4 = 1030;
constexpr int optTTL1 = 1031;
constexpr int optTTL2 = 1032;
constexpr int txtTTL = 1033;
constexpr int Frame5 = 1040;
constexpr int optSKA1 = 1041;
constexpr int optSKA2 = 1042;
constexpr int cmbSKA = 1043;
constexpr int Frame6 = 1050;
constexpr int optNDI1 = 1051;
constexpr int optNDI2 = 1052;
constexpr int cmbNDI = 1053;
constexpr int Frame7 = 1060;
constexpr int chkPMTU = 1061;
constexpr int chkBlackHole = 1062;
constexpr int Label3 = 1063;
constexpr int cmbMSCPS0 = 1064;
constexpr int Label4 = 1065;
constexpr int cmbMSCPS1 = 1066;

constexpr int cmdApply = 1100;
constexpr int cmdPing = 1101;
constexpr int cmdHelp = 1102;

// The frame of each "Windows Default"/"Custom" pair, in the order of the tuning area's pair
// table; the pair's "Windows Default" option, "Custom" option and value control have the
// three IDs after it.
constexpr int kPairFrames[] = {Frame2, Frame3, Frame4, Frame5, Frame6};
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
