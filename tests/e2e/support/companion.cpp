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
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    int width = client.right;
    int height = client.bottom;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    ColourCount count;
    const auto* pixels = static_cast<const DWORD*>(bits);
    // A DIB pixel is 0x00RRGGBB, a COLORREF 0x00BBGGRR.
    DWORD want = RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour));
    for (int x = 0; x < width; ++x) {
        bool seen = false;
        for (int y = 0; y < height; ++y) {
            seen |= (pixels[y * width + x] & 0xFFFFFF) == want;
            count.pixels += (pixels[y * width + x] & 0xFFFFFF) == want;
        }
        count.columns += seen;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
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
