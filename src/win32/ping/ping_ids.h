// The window classes and control IDs of the windows both programs share, one namespace per
// window named after its form, each ID named after its control. The windows and the
// end-to-end drivers share them.
#pragma once

#include <windows.h>

namespace zv::win32 {

// The ping configuration. OK is the default button, which Enter presses, and Esc presses
// Cancel.
namespace frm_ping {

inline constexpr char kClassName[] = "ZorvanePingConfiguration";

// In sequence from 1001.
enum : int {
    explanation_label = 1001,
    configuration_frame,
    automatic_mode,
    manual_mode,
    host_label,
    txtPingHost,
    interval_label,
    cmbPingInterval,
    cmdOK,
    cmdCancel,
    chkSound,
    cmdDefault,
    ping_picture,
    cmdHelp,
};

}  // namespace frm_ping

// Find Largest MTU. Enter finds, Esc cancels a search or closes the dialog.
namespace frm_mtu {

inline constexpr char kClassName[] = "ZorvaneFindLargestMtu";

constexpr int cmdFind = IDOK;
constexpr int cmdCancel = IDCANCEL;
// In sequence from 1201.
enum : int {
    lblExplain = 1201,
    lblHost,
    txtHost,
    prgSearch,
    lblStatus,
    cmdUse,
    cmdAdapter,
};

}  // namespace frm_mtu

}  // namespace zv::win32
