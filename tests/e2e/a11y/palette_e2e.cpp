// The painted parts in the user's colours. Every system colour is set to one of four, as a
// high-contrast theme does, and the programs' "Use System Colours" option is on (Wine does
// not report high contrast): each painted area then holds only those four colours. Each
// area follows the option and Windows' dark app setting as they change while it is shown,
// the setting told by WM_SETTINGCHANGE. (Wine keeps a process's system colours from its
// start, so a SetSysColors of the driver's reaches only programs started after it.) Text is
// drawn without smoothing, so that its pixels are the text colour too.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/check.h"
#include "support/companion.h"
#include "support/probe_record_files.h"
#include "support/process.h"
#include "support/scenario_runner.h"
#include "support/screen.h"
#include "support/tray_observer.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "support/zorvane_session.h"
#include "win32/vigilo/vigilo_ids.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

using monitor::kMinuteMs;

struct FourColours {
    const char* name;
    COLORREF ground;
    COLORREF text;
    COLORREF highlight;
    COLORREF gray;
};
constexpr FourColours kDark{"white on black", RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 255, 255),
                            RGB(255, 255, 0)};
// The graph's background in the programs' own and the dark scheme; the Apply picture's green.
constexpr COLORREF kOwnGround = RGB(255, 255, 255);
constexpr COLORREF kDarkGround = RGB(32, 32, 32);
constexpr COLORREF kApplyGreen = RGB(40, 170, 60);

// Every system colour, as one of the four.
void SetFourColours(const FourColours& four) {
    std::map<int, COLORREF> colours;
    for (int index = COLOR_SCROLLBAR; index <= COLOR_MENUBAR; ++index) {
        colours[index] = four.ground;
    }
    for (int index : {COLOR_WINDOWTEXT, COLOR_BTNTEXT, COLOR_MENUTEXT, COLOR_CAPTIONTEXT,
                      COLOR_INACTIVECAPTIONTEXT, COLOR_INFOTEXT, COLOR_WINDOWFRAME,
                      COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_HIGHLIGHTTEXT}) {
        colours[index] = four.text;
    }
    for (int index : {COLOR_HIGHLIGHT, COLOR_HOTLIGHT, COLOR_ACTIVECAPTION, COLOR_MENUHILIGHT,
                      COLOR_GRADIENTACTIVECAPTION}) {
        colours[index] = four.highlight;
    }
    for (int index :
         {COLOR_GRAYTEXT, COLOR_BTNSHADOW, COLOR_INACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION}) {
        colours[index] = four.gray;
    }
    std::vector<int> indices;
    std::vector<COLORREF> values;
    for (const auto& [index, colour] : colours) {
        indices.push_back(index);
        values.push_back(colour);
    }
    E2E_CHECK(SetSysColors(static_cast<int>(indices.size()), indices.data(), values.data()));
}

void SetUserValue(const char* key, const char* name, DWORD type, const void* data, DWORD size) {
    E2E_CHECK_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key, name, type, data, size), ERROR_SUCCESS);
}

// Text without smoothing and each program's option on; whether Wine takes high contrast is
// only noted.
void PrepareTheSession() {
    SetUserValue("Control Panel\\Desktop", "FontSmoothing", REG_SZ, "0", 2);
    DWORD on = 1;
    SetUserValue("Software\\Zorvane\\Options", "SystemColours", REG_DWORD, &on, sizeof on);
    SetCompanionOption("SystemColours", on);
    HIGHCONTRASTA contrast{sizeof contrast, HCF_HIGHCONTRASTON, nullptr};
    SystemParametersInfoA(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, SPIF_SENDCHANGE);
    contrast.dwFlags = 0;
    SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0);
    Note(std::string("high contrast as Wine reports it: ") +
         ((contrast.dwFlags & HCF_HIGHCONTRASTON) ? "on" : "off"));
}

std::string Hex(COLORREF colour) {
    std::ostringstream text;
    text << "RGB(" << int{GetRValue(colour)} << "," << int{GetGValue(colour)} << ","
         << int{GetBValue(colour)} << ")";
    return text.str();
}

// The pixels of the areas (screen coordinates), by colour.
std::map<COLORREF, long> CountColours(const std::vector<RECT>& areas) {
    std::map<COLORREF, long> seen;
    for (const RECT& area : areas) {
        ScreenPixels shot = PixelsOnScreen(area);
        for (COLORREF pixel : shot.pixels) {
            ++seen[pixel];
        }
    }
    return seen;
}

using Expectation = std::function<void(const std::map<COLORREF, long>&)>;

// Every pixel is one of the four, and at least three of them are used: the area was
// painted, not left blank.
Expectation OnlyTheFour(const FourColours& four) {
    return [four](const std::map<COLORREF, long>& seen) {
        std::string stray;
        int used = 0;
        for (const auto& [colour, count] : seen) {
            bool ours = colour == four.ground || colour == four.text || colour == four.highlight ||
                        colour == four.gray;
            used += ours;
            stray += ours ? "" : " " + Hex(colour) + " x" + std::to_string(count);
        }
        E2E_CHECK_EQ(stray, std::string());
        E2E_CHECK(used >= 3);
    };
}

// A colour of the programs' own, or of the dark scheme, covers part of the area.
Expectation Holds(COLORREF colour) {
    return [colour](const std::map<COLORREF, long>& seen) {
        auto found = seen.find(colour);
        long count = found == seen.end() ? 0 : found->second;
        Note(Hex(colour) + " x" + std::to_string(count));
        E2E_CHECK(count >= 20);
    };
}

// One painted area of a program that runs: its window and its parts in client pixels.
struct PaintedArea {
    const char* name;
    HWND window;
    std::function<std::vector<RECT>(HWND)> parts;
};

// A change the user or Windows makes, and what the area holds after it.
struct Step {
    const char* name;
    std::function<void()> change;
    Expectation expect;
};

void CheckSteps(const PaintedArea& area, const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        Context in(std::string(area.name) + ", " + step.name);
        step.change();
        SetCursorPos(0, 0);  // no hot button, no tip
        Sleep(1500);
        std::vector<RECT> parts = area.parts(area.window);
        for (RECT& part : parts) {
            MapWindowPoints(area.window, nullptr, reinterpret_cast<POINT*>(&part), 2);
        }
        std::map<COLORREF, long> seen = CountColours(parts);
        std::string counts;
        for (const auto& [colour, count] : seen) {
            counts += " " + Hex(colour) + " x" + std::to_string(count);
        }
        Note("colours:" + counts);
        step.expect(seen);
        RequestScreenshot(std::string(area.name) + "-" + step.name);
    }
}

// Windows' dark app setting, as Windows 10 keeps it, then told as Windows tells it.
void SetAppsDark(bool dark) {
    DWORD light = dark ? 0 : 1;
    SetUserValue("Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                 "AppsUseLightTheme", REG_DWORD, &light, sizeof light);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                        reinterpret_cast<LPARAM>("ImmersiveColorSet"), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
}

// The last hour, a probe every 30 s: three lost probes apart, and ten minutes in which
// your network did not answer.
void WriteAnHourWithAnOutage() {
    monitor::WallTime now = WallNow();
    monitor::Moment start{{now.utc_ms - 60 * kMinuteMs, now.offset_min}, 1000};
    std::vector<monitor::Probe> probes;
    for (int n = 0; n < 118; ++n) {
        int64_t wall = start.wall.utc_ms + n * 30000;
        monitor::Probe probe{{wall, now.offset_min}, 20 + n % 7, 1000 + n * 30000};
        probe.host = "www.wikipedia.org";
        if (n == 10 || n == 25 || n == 90 || (n >= 50 && n < 70)) {
            probe.round_trip_ms = monitor::kLost;
            probe.where = n >= 50 && n < 70 ? monitor::Where::YourNetwork : monitor::Where::Unknown;
        }
        probes.push_back(probe);
    }
    WriteProbeRecord(LocalAppDataFolder(), start, probes);
}

std::vector<RECT> ClientArea(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client};
}

std::vector<RECT> Plot(HWND history) {
    return {GraphPlotRect(history)};
}

// The tray icon's pictures; the graph, then the option from the tray menu and the dark
// setting, told by WM_SETTINGCHANGE.
void HistoryGraph() {
    WriteAnHourWithAnOutage();
    ChildProcess vigilo(AppCommand("vigilo.exe"));
    HWND monitor = WaitForMonitorWindow();
    if (!E2E_CHECK(monitor != nullptr)) {
        return;
    }
    // First, as Wine's tray draws a new picture over the old one without erasing it.
    std::vector<HWND> icons;
    WaitUntil([&] { return !(icons = TrayObserver(VigiloExe()).IconWindows()).empty(); }, 5000);
    if (E2E_CHECK_EQ(icons.size(), 1u)) {
        CheckSteps({"tray-icon", icons[0], ClientArea},
                   {{"system-colours", [] {}, OnlyTheFour(kDark)}});
    }
    PostMessageA(monitor, WM_COMMAND, zv::win32::frm_vigilo::menu_history, 0);
    HWND history = WaitForWindow(
        {vigilo.id(), zv::win32::frm_history::kClassName, "Connection History", true});
    if (E2E_CHECK(history != nullptr)) {
        auto toggle = [monitor] {
            PostMessageA(monitor, WM_COMMAND, zv::win32::frm_vigilo::menu_system_colours, 0);
        };
        CheckSteps(
            {"history", history, Plot},
            {{"system-colours", [] {}, OnlyTheFour(kDark)},
             {"dark",
              [&] {
                  SetAppsDark(true);
                  toggle();
              },
              Holds(kDarkGround)},
             {"own", [] { SetAppsDark(false); }, Holds(kOwnGround)},
             {"system-colours-again", toggle, OnlyTheFour(kDark)},
             {"told-colours-changed", [history] { SendMessageA(history, WM_SYSCOLORCHANGE, 0, 0); },
              OnlyTheFour(kDark)}});
    }
    vigilo.Terminate();
}

// The buttons, without the separators between them (narrower than any button), which the
// toolbar draws itself. Their rectangles are written into memory of the program's process.
std::vector<RECT> Buttons(HWND main) {
    HWND bar = FindControl(main, zv::win32::frm_main::toolbar);
    DWORD process_id = 0;
    GetWindowThreadProcessId(bar, &process_id);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    std::vector<RECT> buttons;
    int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count && remote != nullptr; ++i) {
        RECT r{};
        if (SendMessageA(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(remote)) &&
            ReadProcessMemory(process, remote, &r, sizeof r, nullptr) && r.right - r.left > 12) {
            MapWindowPoints(bar, main, reinterpret_cast<POINT*>(&r), 2);
            buttons.push_back(r);
        }
    }
    Note(std::to_string(buttons.size()) + " buttons of " + std::to_string(count) + " items");
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return buttons;
}

// The option from the View menu.
void Toolbar() {
    InSession([](ZorvaneSession& zorvane) {
        HWND main = zorvane.main();
        auto toggle = [main] {
            PostMessageA(main, WM_COMMAND, zv::win32::frm_main::menu_system_colours, 0);
        };
        CheckSteps({"toolbar", main, Buttons},
                   {{"system-colours", [] {}, OnlyTheFour(kDark)},
                    {"own", toggle, Holds(kApplyGreen)},
                    {"system-colours-again", toggle, OnlyTheFour(kDark)}});
        zorvane.Close();
    });
}

void Palette() {
    PrepareTheSession();
    SetFourColours(kDark);
    HistoryGraph();
    Toolbar();
}

}  // namespace
}  // namespace zv::e2e

int main(int argc, char** argv) {
    return zv::e2e::RunNamedScenario({{"", zv::e2e::Palette}}, argc, argv);
}
