#include "companion.h"

#include <vector>

#include "support/check.h"
#include "support/files.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::e2e {

namespace ids = zv::vigilo_ids;

std::string VigiloExe() {
    return AppDirectory() + "\\vigilo.exe";
}
// The companion's first window waits on its process start, which a sandbox starting up
// beside others (ctest runs two at once) can hold up past the usual ten seconds.
HWND WaitForMonitorWindow() {
    return WaitForWindow({0, "ZorvaneVigilo", "Vigilo", false}, 30000);
}

// Whether the pictures follow one another as the animation's cycle 1, 2, 3, 4, 1, ...
namespace {

bool Cycles(const std::vector<int>& images) {
    for (size_t i = 1; i < images.size(); ++i) {
        if (images[i] != images[i - 1] % 4 + 1) {
            return false;
        }
    }
    return !images.empty() && images.front() >= 1 && images.front() <= 4;
}

}  // namespace

void CheckAnimation(const TrayObserver& tray, const std::string& when) {
    Context in(when);
    // The first frame comes 200 ms after the first answered probe.
    WaitUntil([&] { return tray.CurrentImage() >= 1 && tray.CurrentImage() <= 4; }, 5000);
    TrayObserver::Timeline seen = tray.Watch(2000);
    Note("pictures in 2 s: " + Join(seen.images));
    E2E_CHECK(Cycles(seen.images));
    E2E_CHECK(seen.images.size() >= 8);
    if (seen.change_ms.size() > 2) {
        DWORD period = (seen.change_ms.back() - seen.change_ms[1]) /
                       static_cast<DWORD>(seen.change_ms.size() - 2);
        Note("a new picture every " + std::to_string(period) + " ms");
        E2E_CHECK_BETWEEN(period, 151, 299);
    }
}

void WaitForIconGone(const TrayObserver& tray) {
    WaitUntil([&] { return tray.IconWindows().empty(); }, 3000);
}

void ExitRemovesIconAndEnds(const TrayObserver& tray, HWND monitor, ChildProcess& vigilo) {
    Context in("Exit");
    PostMessageA(monitor, WM_COMMAND, ids::mnuExit, 0);
    E2E_CHECK(vigilo.WaitForExit(5000).has_value());
    WaitForIconGone(tray);
    E2E_CHECK_EQ(tray.IconWindows().size(), 0u);
}

}  // namespace zv::e2e
