// Control IDs of the Find Largest MTU dialog, named after its controls; the window and the
// end-to-end driver share them. Enter finds, Esc cancels a search or closes the dialog.
#pragma once

#include <windows.h>

namespace zv::win32::frm_mtu {

inline constexpr const char* kClassName = "ZorvaneFindLargestMtu";

enum ControlId : int {
    cmdFind = IDOK,
    cmdCancel = IDCANCEL,
    lblExplain = 1201,
    lblHost = 1202,
    txtHost = 1203,
    prgSearch = 1204,
    lblStatus = 1205,
    cmdUse = 1206,
    cmdAdapter = 1207,
};

}  // namespace zv::win32::frm_mtu
