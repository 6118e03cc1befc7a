// Control IDs of the explanation dialog (frmDisplay), named after its controls.
#pragma once

#include <windows.h>

namespace zv::win32::frm_display {

inline constexpr const char* kClassName = "ZorvaneConnectionType";

enum ControlId : int {
    cmdOK = IDOK,
    Label1 = 1101,
    Label2 = 1102,
};

}  // namespace zv::win32::frm_display
