// Every window of both programs at 96, 144 and 192 DPI: each control lies where the 96-DPI
// layout times the scale puts it (within a pixel), no caption is cut off by its control, and
// a window opened at 96 DPI that is told of a change to 192 lays itself out as one opened at
// 192. Wine gives each program one DPI, read from LogPixels when it starts: the driver sets
// it before each start, and sends WM_DPICHANGED itself, as Windows does when a window moves
// to a monitor of another scale.
//   screen_fit_driver zorvane   (Windows 10: the Network Stack window)
//   screen_fit_driver vigilo
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/check.h"
#include "support/companion.h"
#include "support/process.h"
#include "support/scenario_runner.h"
#include "support/screen.h"
#include "support/tray_observer.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "support/zorvane_session.h"
#include "win32/ping/ping_ids.h"
#include "win32/vigilo/vigilo_ids.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

constexpr int kDpis[] = {96, 144, 192};
constexpr UINT kDpiChanged = 0x02E0;

// A window of a program, and how it is opened: a command (or a click of the control of that
// ID) sent to the program's own window; 0 for that window itself. A window as wide as its
// texts (its list's columns) grows with the font, which does not grow in step with the DPI.
enum class Of { Zorvane, Vigilo };
struct WindowRow {
    Of program;
    const char* name;
    const char* class_name;
    int opener;
    bool width_follows_text = false;
};

namespace main = win32::frm_main;
namespace menu = win32::frm_vigilo;

// In the order they are opened: the explanation of Manual mode last, as the click that
// opens it leaves the main window in Manual mode.
const WindowRow kWindows[] = {
    {Of::Zorvane, "main", main::kClassName, 0},
    {Of::Zorvane, "current settings", win32::frm_current_settings::kClassName,
     main::menu_current_settings, true},
    {Of::Zorvane, "network stack", win32::frm_network_stack::kClassName, main::menu_network_stack},
    {Of::Zorvane, "tip", win32::frm_tip::kClassName, main::menu_tip_of_the_day},
    {Of::Zorvane, "ping", win32::frm_ping::kClassName, main::menu_ping_configuration},
    {Of::Zorvane, "mtu", win32::frm_mtu::kClassName, main::menu_find_largest_mtu},
    {Of::Zorvane, "explanation", win32::frm_display::kClassName, main::manual_mode},
    {Of::Vigilo, "history", win32::frm_history::kClassName, menu::menu_history},
    {Of::Vigilo, "responsiveness", win32::frm_rpm::kClassName, menu::menu_test_responsiveness},
    {Of::Vigilo, "report period", win32::frm_report_period::kClassName, menu::menu_outage_report},
    {Of::Vigilo, "ping", win32::frm_ping::kClassName, menu::menu_ping_configuration},
};

// One control as the window placed it, in client coordinates. The height of a drop-down
// list's items comes from its font, the one measure of the program's font that can be read
// from another process.
struct Placed {
    int id;
    std::string kind;
    std::string text;
    DWORD style;
    RECT rect;
    long item_height = 0;
};

// The area between the toolbar and the status bar, which Windows sizes from their font and
// pictures, and its controls, from the area's top.
struct Shown {
    RECT area{};
    std::vector<Placed> controls;
};

// What a run of a program showed: each window's layout by DPI, and at 96 DPI after the
// change to 192.
struct Seen {
    std::map<std::string, std::map<int, Shown>> at;
    std::map<std::string, Shown> changed;
};

// The driver reads the programs' pixels as they are, never as Wine would scale them for a
// program that knows nothing of DPI.
void SeePhysicalPixels() {
    using AwarenessFn = BOOL(WINAPI*)(HANDLE);
    auto set_awareness = reinterpret_cast<AwarenessFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
    const HANDLE per_monitor_v2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    if (set_awareness == nullptr || !set_awareness(per_monitor_v2)) {
        SetProcessDPIAware();
    }
}

void SetLogPixels(int dpi) {
    HKEY key = nullptr;
    if (E2E_CHECK_EQ(
            RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS)) {
        DWORD value = static_cast<DWORD>(dpi);
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
        RegCloseKey(key);
    }
}

RECT PlaceIn(HWND window, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

Shown Capture(HWND window) {
    Shown shown;
    GetClientRect(window, &shown.area);
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string kind = WindowClass(child);
        const bool shown_bar = IsWindowVisible(child) != 0;
        if (kind == "ToolbarWindow32") {
            shown.area.top = shown_bar ? PlaceIn(window, child).bottom : 0;
        } else if (kind == "msctls_statusbar32") {
            shown.area.bottom = shown_bar ? PlaceIn(window, child).top : shown.area.bottom;
        } else {
            children.push_back(child);
        }
    }
    for (HWND child : children) {
        // A label no one sees, which names the control after it for a screen reader, has no
        // place on the screen to keep.
        if (GetDlgCtrlID(child) == -1 && !IsWindowVisible(child)) {
            continue;
        }
        Placed placed{GetDlgCtrlID(child), WindowClass(child), WindowText(child),
                      static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE)),
                      PlaceIn(window, child)};
        OffsetRect(&placed.rect, 0, -shown.area.top);
        if (placed.kind == "ComboBox") {
            placed.item_height = static_cast<long>(SendMessageA(child, CB_GETITEMHEIGHT, 0, 0));
        }
        shown.controls.push_back(placed);
    }
    return shown;
}

std::string Describe(const Placed& c) {
    return c.kind + " " + std::to_string(c.id) + " \"" + c.text + "\"";
}

// The message font at the DPI, as the programs make it for their controls (the font of
// another process cannot be read from here; a bold heading is measured in it too).
HFONT MessageFontAt(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, 96);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

// The room a control's text needs: its width on one line (a button, a frame's caption), or
// its height wrapped at the control's width (a label); 0 for a control that scrolls or
// shortens its text itself.
struct Need {
    int width = 0;
    int height = 0;
};

Need TextNeed(HDC dc, const Placed& c, int room_width, int dpi) {
    const std::wstring text(c.text.begin(), c.text.end());
    const UINT prefix = (c.style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0;
    RECT r{0, 0, room_width, 0};
    if (c.kind == "Static") {
        if ((c.style & (SS_PATHELLIPSIS | SS_ENDELLIPSIS | SS_WORDELLIPSIS)) != 0) {
            return {};
        }
        DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | prefix);
        return {0, r.bottom};
    }
    if (c.kind != "Button") {
        return {};
    }
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    const DWORD type = c.style & BS_TYPEMASK;
    const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
    const int mark = (push || type == BS_GROUPBOX) ? 0 : MulDiv(13 + 4, dpi, 96);
    const int frame = push ? MulDiv(4, dpi, 96) : 0;
    return {r.right + mark + frame, type == BS_GROUPBOX ? 0 : r.bottom + frame};
}

void CheckTextFits(HWND window, const Shown& shown, int dpi) {
    HDC dc = GetDC(nullptr);
    HFONT font = MessageFontAt(dpi);
    HGDIOBJ old = SelectObject(dc, font);
    for (const Placed& c : shown.controls) {
        HWND control = GetDlgItem(window, c.id);
        if (c.text.empty() || control == nullptr || !IsWindowVisible(control)) {
            continue;
        }
        RECT client;
        GetClientRect(control, &client);
        Need need = TextNeed(dc, c, client.right, dpi);
        Context in(Describe(c));
        E2E_CHECK(need.width <= client.right);
        E2E_CHECK(need.height <= client.bottom);
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
}

// Within a pixel, as each twips measure rounds to its own pixel at either DPI.
void CheckNear(long actual, long expected, const char* what) {
    Context in(what);
    E2E_CHECK_BETWEEN(actual, expected - 1, expected + 1);
}

// Each control of `shown` where the same control of `base` lies times dpi/base_dpi. A
// drop-down list's height is the system's, from its font: its items' height follows the
// font instead.
void CheckScaled(const Shown& base, int base_dpi, const Shown& shown, int dpi,
                 bool width_follows_text) {
    auto scaled = [&](long v) { return static_cast<long>(MulDiv(v, dpi, base_dpi)); };
    CheckNear(shown.area.bottom - shown.area.top, scaled(base.area.bottom - base.area.top),
              "area height");
    if (!width_follows_text) {
        CheckNear(shown.area.right, scaled(base.area.right), "area width");
    }
    if (!E2E_CHECK_EQ(shown.controls.size(), base.controls.size())) {
        return;
    }
    for (size_t i = 0; i < base.controls.size(); ++i) {
        const Placed& b = base.controls[i];
        const Placed& c = shown.controls[i];
        Context in(Describe(c));
        E2E_CHECK_EQ(c.id, b.id);
        CheckNear(c.rect.top, scaled(b.rect.top), "top");
        if (!width_follows_text) {
            CheckNear(c.rect.left, scaled(b.rect.left), "left");
            CheckNear(c.rect.right - c.rect.left, scaled(b.rect.right - b.rect.left), "width");
        }
        if (c.kind == "ComboBox") {
            CheckNear(c.item_height, scaled(b.item_height), "item height");
        } else {
            CheckNear(c.rect.bottom - c.rect.top, scaled(b.rect.bottom - b.rect.top), "height");
        }
    }
}

// The message Windows sends on a move to a monitor of 192 DPI, with the rectangle it
// suggests: the client area twice as large. The rectangle is put in the program's memory,
// and at the same address in the driver's, whichever of the two Wine reads.
void SendDpiChange(HWND window, DWORD process_id, int dpi) {
    RECT frame;
    RECT client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    const long scale_to = dpi;
    RECT suggested{frame.left, frame.top, frame.right + client.right * (scale_to - 96) / 96,
                   frame.bottom + client.bottom * (scale_to - 96) / 96};
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process_id);
    void* there = process ? VirtualAllocEx(process, nullptr, sizeof suggested,
                                           MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                          : nullptr;
    if (!E2E_CHECK(there != nullptr)) {
        return;
    }
    WriteProcessMemory(process, there, &suggested, sizeof suggested, nullptr);
    void* here = VirtualAlloc(there, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (here == there) {
        *static_cast<RECT*>(here) = suggested;
    }
    DWORD_PTR result = 0;
    E2E_CHECK(SendMessageTimeoutA(window, kDpiChanged, MAKEWPARAM(dpi, dpi),
                                  reinterpret_cast<LPARAM>(there), SMTO_NORMAL, 10000, &result));
    if (here != nullptr) {
        VirtualFree(here, 0, MEM_RELEASE);
    }
    VirtualFreeEx(process, there, 0, MEM_RELEASE);
    CloseHandle(process);
}

// A running program: its own window (the main window, or the companion's hidden one; null
// when it did not come up), and how it ends.
struct Program {
    DWORD process_id;
    HWND own;
    std::function<void()> end;
};

void Open(const Program& program, const WindowRow& row) {
    HWND control = GetDlgItem(program.own, row.opener);
    PostMessageA(program.own, WM_COMMAND, MAKEWPARAM(row.opener, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

void Close(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    E2E_CHECK(WaitForWindowGone(window));
}

// Opens each window in turn, notes its layout and checks its texts; at 96 DPI, tells it of
// a change to 192 and notes the layout again. Main windows and the history are kept as
// pictures at the larger scales.
void SeeEveryWindow(const Program& program, const std::vector<WindowRow>& rows, int dpi,
                    Seen& seen) {
    for (const WindowRow& row : rows) {
        Context in(std::string(row.name) + " at " + std::to_string(dpi) + " DPI");
        if (row.opener != 0) {
            Open(program, row);
        }
        HWND window = WaitForWindow({program.process_id, row.class_name, "", true});
        if (!E2E_CHECK(window != nullptr)) {
            continue;
        }
        Sleep(300);  // lets the window finish painting
        Shown shown = Capture(window);
        CheckTextFits(window, shown, dpi);
        seen.at[row.name][dpi] = shown;
        if (dpi == 96) {
            SendDpiChange(window, program.process_id, 192);
            Sleep(300);
            seen.changed[row.name] = Capture(window);
            CheckTextFits(window, seen.changed[row.name], 192);
        } else if (row.opener == 0 || std::string(row.name) == "history") {
            RequestScreenshot(std::string("screen-fit-") + row.name + "-" + std::to_string(dpi));
        }
        if (row.opener != 0) {
            Close(window);
        }
    }
    program.end();
}

void CompareWithTheBaseLayout(const std::vector<WindowRow>& rows, const Seen& seen) {
    for (const WindowRow& row : rows) {
        auto at = seen.at.find(row.name);
        if (at == seen.at.end() || at->second.count(96) == 0) {
            continue;
        }
        const Shown& base = at->second.at(96);
        for (int dpi : kDpis) {
            if (dpi != 96 && at->second.count(dpi) != 0) {
                Context in(std::string(row.name) + " opened at " + std::to_string(dpi) + " DPI");
                CheckScaled(base, 96, at->second.at(dpi), dpi, row.width_follows_text);
            }
        }
        auto changed = seen.changed.find(row.name);
        if (changed != seen.changed.end() && at->second.count(192) != 0) {
            Context in(std::string(row.name) + " changed from 96 to 192 DPI");
            CheckScaled(at->second.at(192), 192, changed->second, 192, row.width_follows_text);
        }
    }
}

void RunEveryDpi(Of of, const std::function<Program()>& start) {
    std::vector<WindowRow> rows;
    for (const WindowRow& row : kWindows) {
        if (row.program == of) {
            rows.push_back(row);
        }
    }
    SeePhysicalPixels();
    Seen seen;
    for (int dpi : kDpis) {
        SetLogPixels(dpi);
        Program program = start();
        if (E2E_CHECK(program.own != nullptr)) {
            SeeEveryWindow(program, rows, dpi, seen);
        }
    }
    SetLogPixels(96);
    CompareWithTheBaseLayout(rows, seen);
}

void RunZorvane() {
    std::unique_ptr<ZorvaneSession> session;
    RunEveryDpi(Of::Zorvane, [&] {
        session = std::make_unique<ZorvaneSession>();
        return Program{session->process().id(), session->main(), [&] { session->Close(); }};
    });
}

// The tray icon's pictures are loaded again for each DPI: told of 192 DPI and then of 96,
// the icon shows one of its pictures at the tray's size.
void CheckTrayIconFollowsTheDpi(const TrayObserver& tray, HWND monitor, DWORD process_id) {
    Context in("the tray icon after changes of DPI");
    SendDpiChange(monitor, process_id, 192);
    E2E_CHECK(!tray.IconWindows().empty());
    SendDpiChange(monitor, process_id, 96);
    E2E_CHECK(WaitUntil([&] { return tray.CurrentImage() != 0; }, 3000));
}

void RunVigilo() {
    std::unique_ptr<ChildProcess> vigilo;
    TrayObserver tray(VigiloExe());
    RunEveryDpi(Of::Vigilo, [&] {
        vigilo = std::make_unique<ChildProcess>(AppCommand("vigilo.exe"));
        HWND monitor = WaitForMonitorWindow();
        return Program{vigilo->id(), monitor, [&, monitor] {
                           CheckTrayIconFollowsTheDpi(tray, monitor, vigilo->id());
                           PostMessageA(monitor, WM_COMMAND, menu::menu_exit, 0);
                           E2E_CHECK(vigilo->WaitForExit());
                       }};
    });
}

}  // namespace
}  // namespace zv::e2e

int main(int argc, char** argv) {
    using namespace zv::e2e;
    return RunNamedScenario({{"zorvane", RunZorvane}, {"vigilo", RunVigilo}}, argc, argv);
}
