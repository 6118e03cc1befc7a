// Control IDs of the Network Stack window, named after its controls; the window and the
// end-to-end driver share them. The finding slots' labels and Fix buttons are numbered
// from their first.
#pragma once

#include <windows.h>

namespace zv::win32::network_stack {

inline constexpr const char* kClassName = "ZorvaneNetworkStack";

enum ControlId : int {
    cmdClose = IDCANCEL,
    lblFindings = 1401,
    lblFinding0 = 1410,  // to 1413
    cmdFix0 = 1420,      // to 1423
    cmdFixAll = 1430,
    lvwStack = 1431,
    lblNewValue = 1432,
    cmbNewValue = 1433,
    cmdApply = 1434,
    lblStatus = 1435,
    cmdRefresh = 1436,
};

}  // namespace zv::win32::network_stack
