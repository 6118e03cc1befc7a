// Control IDs of the real PingDialogView window, named after its controls; the window and the
// end-to-end driver share them. None is IDOK or IDCANCEL: no button of this dialog reacts
// to Enter or Esc by itself.
#pragma once

namespace zv::win32::frm_ping_ids {

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

}  // namespace zv::win32::frm_ping_ids
