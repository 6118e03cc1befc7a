// A tip of the day opened from the Help menu keeps the program alive after the main
// window closes; closing the tip then ends it.
#include "scenarios.h"

#include "support/check.h"
#include "support/windows_on_screen.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {

void RunModelessTipScenario() {
    Context in("modeless tip outlives the main window");
    ZorvaneSession zorvane;
    if (!E2E_CHECK(zorvane.ok())) {
        return;
    }
    DWORD pid = zorvane.process().id();
    zorvane.PostCommand(win32::frm_main::menu_tip_of_the_day);
    HWND tip = WaitForWindow({pid, win32::frm_tip::kClassName, "Tip of the Day"});
    if (!E2E_CHECK(tip != nullptr)) {
        return;
    }
    PostMessageA(zorvane.main(), WM_CLOSE, 0, 0);
    E2E_CHECK(WaitForWindowGone(zorvane.main()));
    E2E_CHECK(!zorvane.process().WaitForExit(1500).has_value());
    E2E_CHECK(IsWindowVisible(tip));

    PostClick(tip, win32::frm_tip::cmdOK);
    E2E_CHECK_EQ(zorvane.process().WaitForExit(), std::optional<DWORD>(0));
}

}  // namespace zv::e2e
