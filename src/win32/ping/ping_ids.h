// The window classes and control IDs of the windows both programs share, one namespace per
// window named after its form, each ID named after its control. The windows and the
// end-to-end drivers share them.
#pragma once

#include <windows.h>

namespace zv::win32 {

// The ping configuration. None is IDOK or IDCANCEL: no button of this dialog reacts to
// Enter or Esc by itself.
namespace frm_ping {

inline constexpr char kClassName[] = "ZorvanePingConfiguration";

constexpr int Label1 = 1001;
constexpr int Frame1 = 1002;
constexpr int Option1 = 1003;
constexpr int Option2 = 1004;
constexpr int Label2 = 1005;
constexpr int txtPingHost = 1006;
constexpr int Label3 = 1007;
constexpr int cmbPingInterval = 1008;
constexpr int cmdOK = 1009;
constexpr int cmdcancel = 1010;
constexpr int chkSound = 1011;
constexpr int cmdDefault = 1012;
constexpr int Picture1 = 1013;
constexpr int cmdHelp = 1014;

}  // namespace frm_ping

// Find Largest MTU. Enter finds, Esc cancels a search or closes the dialog.
namespace frm_mtu {

inline constexpr char kClassName[] = "ZorvaneFindLargestMtu";

constexpr int cmdFind = IDOK;
constexpr int cmdCancel = IDCANCEL;
constexpr int lblExplain = 1201;
constexpr int lblHost = 1202;
constexpr int txtHost = 1203;
constexpr int prgSearch = 1204;
constexpr int lblStatus = 1205;
constexpr int cmdUse = 1206;
constexpr int cmdAdapter = 1207;

}  // namespace frm_mtu

}  // namespace zv::win32
