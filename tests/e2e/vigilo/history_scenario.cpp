// The companion's record of the link, end to end: the probe host answers, goes silent and
// answers again; the tray tip follows, the history window shows the drop (read back from
// the pixels of its loss marks on the screen), the log holds one line per probe, and a
// wake from sleep holds the next probe back for 15 s.
#include "history_scenario.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "companion.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "support/sandbox_control.h"
#include "support/screen.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "tray_observer.h"
#include "win32/vigilo/history_window_ids.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::e2e {
namespace {

namespace hid = zv::history_ids;

std::string LogPath() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\Zorvane\\Vigilo.log";
}

void TurnLogOn() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zorvane\\Vigilo", 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &key, nullptr);
    DWORD on = 1;
    RegSetValueExA(key, "LogFile", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegCloseKey(key);
}

struct ColourCount {
    long pixels = 0;
    long columns = 0;  // columns holding at least one such pixel
};

// The window's client area as it is on the screen, counted for one colour.
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

// "Loss: 33% (2 of 6 probes), ..." -> 6
int ProbesInLossLine(const std::string& line) {
    std::smatch match;
    return std::regex_search(line, match, std::regex(R"(of (\d+) probes)")) ? std::stoi(match[1])
                                                                            : -1;
}

void CheckTip(const TrayObserver& tray, const std::string& pattern, const std::string& shot) {
    std::string tip = tray.TipText();
    Note("tip: " + tip);
    E2E_CHECK(std::regex_match(tip, std::regex(pattern)));
    RequestScreenshot(shot);
}

void CheckLog(HWND history) {
    Context in("the log");
    HWND loss = FindControl(history, hid::lblLoss);
    std::string before = WindowText(loss);
    std::optional<std::string> log = ReadWholeFile(LogPath());
    std::string after = WindowText(loss);
    E2E_CHECK(log.has_value());
    if (!log || before != after) {
        return;  // a probe came in between: nothing to compare
    }
    std::istringstream lines(*log);
    const std::regex kLine(
        R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d www\.wikipedia\.org (\d+ ms|lost)\r)");
    int count = 0;
    int lost = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        E2E_CHECK(std::regex_match(line, kLine));
        lost += line.find(" lost") != std::string::npos;
    }
    Note(std::to_string(count) + " lines, " + std::to_string(lost) + " lost; " + after);
    E2E_CHECK_EQ(count, ProbesInLossLine(after));
    E2E_CHECK(lost >= 1);
}

// After a wake the next probe waits 15 s for the network adapter, however soon the probe
// timer would have come: the wake is told right after a probe, 30 s before the next.
void WakeDelaysTheNextProbe(HWND monitor, HWND history) {
    Context in("wake from sleep");
    HWND loss = FindControl(history, hid::lblLoss);
    auto probes = [&] { return ProbesInLossLine(WindowText(loss)); };
    int before = probes();
    E2E_CHECK(WaitUntil([&] { return probes() != before; }, 35000));
    DWORD woke = GetTickCount();
    DWORD_PTR result = 0;
    SendMessageTimeoutA(monitor, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, SMTO_NORMAL, 1000,
                        &result);
    before = probes();
    E2E_CHECK(WaitUntil([&] { return probes() != before; }, 35000));
    DWORD waited = GetTickCount() - woke;
    Note("the first probe after the wake came " + std::to_string(waited) + " ms after it");
    E2E_CHECK(waited >= 14000 && waited <= 18000);
}

}  // namespace

void HistoryScenario() {
    TurnLogOn();
    TrayObserver tray(VigiloExe());
    ChildProcess vigilo(AppCommand("vigilo.exe"));
    HWND monitor = WaitForMonitorWindow();
    if (!E2E_CHECK(monitor != nullptr)) {
        std::optional<DWORD> code = vigilo.WaitForExit(0);
        Note(!vigilo.started() ? "vigilo.exe did not start"
             : code            ? "vigilo.exe ended with exit code " + std::to_string(*code)
                               : "vigilo.exe runs without its window");
        return;
    }
    {
        Context in("probe host answering");
        E2E_CHECK(
            WaitUntil([&] { return tray.CurrentImage() >= 1 && tray.CurrentImage() <= 4; }, 5000));
        CheckTip(tray, R"(Zorvane - connected, \d+ ms, 0% loss \(last hour\))", "vigilo-tip");
    }
    {
        Context in("echo replies off");
        E2E_CHECK(SetSandboxEcho(false));
        E2E_CHECK(tray.WaitForImage(5, 45000));
        CheckTip(tray, R"(Zorvane - not connected since \d\d:\d\d)", "vigilo-tip-not-connected");
    }
    {
        Context in("echo replies on again");
        E2E_CHECK(SetSandboxEcho(true));
        E2E_CHECK(
            WaitUntil([&] { return tray.CurrentImage() >= 1 && tray.CurrentImage() <= 4; }, 45000));
    }
    Context in("history window");
    PostMessageA(monitor, WM_COMMAND, zv::vigilo_ids::mnuHistory, 0);
    HWND history = WaitForWindow({vigilo.id(), hid::kClassName, "Connection History", true});
    if (!E2E_CHECK(history != nullptr)) {
        return;
    }
    SetCursorPos(0, 0);  // no tip over the window
    Sleep(1000);
    ColourCount losses = CountOnScreen(history, hid::kLossColor);
    ColourCount down = CountOnScreen(history, hid::kDownColor);
    Note("loss marks: " + std::to_string(losses.columns) + " columns, " +
         std::to_string(losses.pixels) + " pixels; down period: " + std::to_string(down.columns) +
         " columns");
    E2E_CHECK(losses.columns >= 1);
    E2E_CHECK(losses.pixels >= 20);
    E2E_CHECK(down.columns >= 1);
    E2E_CHECK(CountOnScreen(history, hid::kRoundTripColor).pixels > 0);
    Note(WindowText(FindControl(history, hid::lblRoundTrip)));
    RequestScreenshot("vigilo-history");
    CheckLog(history);
    WakeDelaysTheNextProbe(monitor, history);

    PostMessageA(history, WM_COMMAND, hid::cmdClose, 0);
    E2E_CHECK(WaitForWindowGone(history, 3000));
    ExitRemovesIconAndEnds(tray, monitor, vigilo);
}

}  // namespace zv::e2e
