#include "routed_companion.h"

#include <regex>

#include "support/check.h"
#include "support/companion.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::e2e {
namespace {

namespace hid = zv::win32::frm_history;

HWND OpenHistory(HWND monitor, DWORD process_id) {
    PostMessageA(monitor, WM_COMMAND, zv::win32::frm_vigilo::menu_history, 0);
    HWND history = WaitForWindow({process_id, hid::kClassName, "Connection History", true});
    SetCursorPos(0, 0);  // no tip over the window
    return history;
}

}  // namespace

bool WaitForText(HWND control, const std::string& pattern, DWORD limit_ms) {
    std::regex want(pattern);
    bool seen = WaitUntil([&] { return std::regex_match(WindowText(control), want); }, limit_ms);
    Note(WindowText(control));
    return seen;
}

bool ConnectedToProbeHost(Companion& companion) {
    if (!E2E_CHECK(companion.history != nullptr)) {
        return false;
    }
    Context in("probe host answering");
    E2E_CHECK(WaitForText(companion.now, kConnected, 30000));
    return true;
}

Companion::Companion()
    : tray(VigiloExe()),
      process(AppCommand("vigilo.exe")),
      monitor(WaitForMonitorWindow()),
      history(monitor != nullptr ? OpenHistory(monitor, process.id()) : nullptr),
      now(history != nullptr ? FindControl(history, hid::lblNow) : nullptr) {}

Companion::~Companion() {
    if (history != nullptr) {
        PostMessageA(history, WM_COMMAND, hid::cmdClose, 0);
        WaitForWindowGone(history, 3000);
    }
    if (monitor != nullptr) {
        ExitRemovesIconAndEnds(tray, monitor, process);
    }
}

}  // namespace zv::e2e
