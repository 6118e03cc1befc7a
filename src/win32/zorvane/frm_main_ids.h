// Control IDs of the main window's tuning area and buttons, named after their controls.
// The window and the test drivers share them. (Menus, toolbar and status bar have theirs
// in frm_main_chrome_ids.h.)
#pragma once

namespace zv::win32::frm_main {

enum ControlId : int {
    Frame1 = 1000,
    Label1 = 1001,
    cmbNetType = 1002,
    Label2 = 1003,
    optOptimization0 = 1004,  // "Automatic"
    optOptimization1 = 1005,  // "Manual"

    Frame2 = 1010,
    optMTU1 = 1011,
    optMTU2 = 1012,
    txtMTU = 1013,
    Frame3 = 1020,
    optRWIN1 = 1021,
    optRWIN2 = 1022,
    cmbRWIN = 1023,
    Frame4 = 1030,
    optTTL1 = 1031,
    optTTL2 = 1032,
    txtTTL = 1033,
    Frame5 = 1040,
    optSKA1 = 1041,
    optSKA2 = 1042,
    cmbSKA = 1043,
    Frame6 = 1050,
    optNDI1 = 1051,
    optNDI2 = 1052,
    cmbNDI = 1053,
    Frame7 = 1060,
    chkPMTU = 1061,
    chkBlackHole = 1062,
    Label3 = 1063,
    cmbMSCPS0 = 1064,
    Label4 = 1065,
    cmbMSCPS1 = 1066,

    cmdApply = 1100,
    cmdPing = 1101,
    cmdHelp = 1102,
};

// The frame of each "Windows Default"/"Custom" pair, in the order of the tuning area's pair
// table; the pair's "Windows Default" option, "Custom" option and value control have the
// three IDs after it.
constexpr ControlId kPairFrames[] = {Frame2, Frame3, Frame4, Frame5, Frame6};
constexpr int kPairWindowsDefault = 1;
constexpr int kPairCustom = 2;
constexpr int kPairValue = 3;

// The window class of the main window, for drivers that look for it.
constexpr char kMainWindowClass[] = "ZorvaneMainWindow";

}  // namespace zv::win32::frm_main
