#include "support/companion.h"

#include <shlobj.h>

#include <regex>
#include <vector>

#include "support/check.h"
#include "support/files.h"
#include "support/screen.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::e2e {

namespace ids = zv::win32::frm_vigilo;

std::string VigiloExe() {
    return AppDirectory() + "\\vigilo.exe";
}
std::string LogPath() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\Zorvane\\Vigilo.log";
}

namespace {

void SetOptionBytes(const char* name, DWORD kind, const void* bytes, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zorvane\\Vigilo", 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, kind, static_cast<const BYTE*>(bytes), size);
    RegCloseKey(key);
}

}  // namespace

void SetCompanionOption(const char* name, DWORD value) {
    SetOptionBytes(name, REG_DWORD, &value, sizeof value);
}

void SetCompanionOption(const char* name, const std::string& value, DWORD kind) {
    SetOptionBytes(name, kind, value.c_str(), static_cast<DWORD>(value.size() + 1));
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

void CheckTrayTip(const TrayObserver& tray, const std::string& pattern, const std::string& shot,
                  DWORD wait_ms) {
    std::string tip;
    const std::regex wanted(pattern);
    WaitUntil([&] { return std::regex_match(tip = tray.TipText(), wanted); }, wait_ms);
    Note("tip: " + tip);
    E2E_CHECK(std::regex_match(tip, wanted));
    RequestScreenshot(shot);
}

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

ColourCount CountOnScreen(HWND window, COLORREF colour) {
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ScreenPixels shot = PixelsOnScreen(client);
    ColourCount count;
    for (int x = 0; x < shot.width; ++x) {
        bool seen = false;
        for (int y = 0; y < shot.height; ++y) {
            bool same = shot.At(x, y) == colour;
            seen |= same;
            count.pixels += same;
        }
        count.columns += seen;
    }
    return count;
}

// Between the span options and the figure lines, as wide as the options' margin leaves.
RECT GraphPlotRect(HWND history) {
    auto client_rect = [&](int id) {
        RECT r;
        GetWindowRect(FindControl(history, id), &r);
        MapWindowPoints(nullptr, history, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT option = client_rect(zv::win32::frm_history::optSpan1);
    RECT first_line = client_rect(zv::win32::frm_history::lblNow);
    RECT client;
    GetClientRect(history, &client);
    int gap = (first_line.bottom - first_line.top) / 2;
    return {option.left + 1, option.bottom + gap + 1, client.right - option.left - 1,
            first_line.top - gap - 1};
}

long OutageBandColumns(HWND history, COLORREF band, COLORREF place_without_outage) {
    return CountOnScreen(history, band).columns -
           CountOnScreen(history, place_without_outage).columns;
}

int ProbesShown(HWND history) {
    std::smatch match;
    std::string line = WindowText(FindControl(history, zv::win32::frm_history::lblLoss));
    return std::regex_search(line, match, std::regex(R"(lost probes? of (\d+))"))
               ? std::stoi(match[1])
               : -1;
}

void WaitForIconGone(const TrayObserver& tray) {
    WaitUntil([&] { return tray.IconWindows().empty(); }, 3000);
}

void ExitRemovesIconAndEnds(const TrayObserver& tray, HWND monitor, ChildProcess& vigilo) {
    Context in("Exit");
    PostMessageA(monitor, WM_COMMAND, ids::menu_exit, 0);
    E2E_CHECK(vigilo.WaitForExit(5000).has_value());
    WaitForIconGone(tray);
    E2E_CHECK_EQ(tray.IconWindows().size(), 0u);
}

}  // namespace zv::e2e
