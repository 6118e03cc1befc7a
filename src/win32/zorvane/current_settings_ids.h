// Control IDs of the Current Settings dialog, shared with the test drivers.
#pragma once

#include <windows.h>

namespace zv::win32::current_settings {

inline constexpr const char* kClassName = "ZorvaneCurrentSettings";
inline constexpr const char* kCaption = "Current Settings";

enum ControlId : int {
    lvwSettings = 1301,
    cmdCopy = 1302,
    cmdSaveAs = 1303,
    cmdRefresh = 1304,
    cmdClose = IDCANCEL,
};

}  // namespace zv::win32::current_settings
