// Control IDs of the tip of the day (frmTip), named after its controls.
#pragma once

#include <windows.h>

namespace zv::win32::frm_tip {

inline constexpr const char* kClassName = "ZorvaneTipOfTheDay";

enum ControlId : int {
    cmdOK = IDOK,
    Label1 = 1001,
    lblTipText = 1002,
    cmdNextTip = 1003,
    chkLoadTipsAtStartup = 1004,
};

}  // namespace zv::win32::frm_tip
