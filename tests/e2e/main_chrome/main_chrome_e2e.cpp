// The main window's chrome in the real Zorvane: the tip of the day at the first start and
// its option across starts, the focus on a control after each dialog and message box, the
// keyboard, the View toggles' geometry, the launchers' command lines, the File menu
// reaching its operations, and the explanation dialog.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "child_processes.h"
#include "fakes/lower_case.h"
#include "fakes/registry_paths.h"
#include "keyboard.h"
#include "support/check.h"
#include "support/files.h"
#include "support/message_boxes.h"
#include "support/process.h"
#include "support/registry_read.h"
#include "support/scenario_runner.h"
#include "support/screen.h"
#include "support/windows_on_screen.h"
#include "win32/zorvane/zorvane_ids.h"

namespace e2e = zv::e2e;
namespace test_keys = zv::test_keys;
namespace frm_main = zv::win32::frm_main;
namespace frm_tip = zv::win32::frm_tip;
namespace frm_display = zv::win32::frm_display;

namespace {

const char kOptionName[] = "Show Tips at Startup";

void Command(HWND window, int id) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

RECT OuterRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

int Height(HWND window) {
    RECT r = OuterRect(window);
    return r.bottom - r.top;
}

int TopInParent(HWND control) {
    RECT r = OuterRect(control);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r.top;
}

// The window's height changes before the frame moves, in the same handler of the program.
bool FrameReaches(HWND frame, int top) {
    bool reached = e2e::WaitUntil([&] { return TopInParent(frame) == top; }, 2000);
    if (!reached) {
        e2e::Note("frame top " + std::to_string(TopInParent(frame)) + ", expected " +
                  std::to_string(top));
    }
    return reached;
}

using zv::testing::Lower;

std::vector<std::string> TipLines() {
    std::vector<std::string> lines;
    std::string text = e2e::ReadWholeFile(e2e::AppDirectory() + "\\TIPs.TXT").value_or("");
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

bool IsTip(const std::string& text) {
    auto lines = TipLines();
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

HWND WaitForTip(DWORD process_id, DWORD timeout_ms = e2e::kDefaultTimeoutMs) {
    return e2e::WaitForWindow({process_id, frm_tip::kClassName, "Tip of the Day"}, timeout_ms);
}

HWND WaitForMain(DWORD process_id) {
    return e2e::WaitForWindow({process_id, frm_main::kClassName, "Zorvane"});
}

bool WaitForOption(const std::string& expected) {
    return e2e::WaitUntil([&] {
        return e2e::ReadString(HKEY_CURRENT_USER, test_keys::kOptions, kOptionName) == expected;
    });
}

// Turns the tip's start-up box over from `shown`, sees the option stored as `stored`, and
// closes the tip with OK.
void SwitchTipsAtStartup(HWND tip, LRESULT shown, const char* stored) {
    HWND check = e2e::FindControl(tip, frm_tip::chkLoadTipsAtStartup);
    E2E_CHECK_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), shown);
    e2e::PostClick(tip, frm_tip::chkLoadTipsAtStartup);
    E2E_CHECK(WaitForOption(stored));
    e2e::PostClick(tip, frm_tip::cmdOK);
    E2E_CHECK(e2e::WaitForWindowGone(tip));
}

void FirstStartShowsTipAndSwitchesItOff() {
    e2e::Context in("first start");
    e2e::DeleteRegistryTree(HKEY_CURRENT_USER, test_keys::kZorvane);
    e2e::ChildProcess zorvane(e2e::AppCommand("Zorvane.exe"));
    HWND tip = WaitForTip(zorvane.id());
    if (!E2E_CHECK(tip != nullptr)) {
        return;
    }
    HWND text = e2e::FindControl(tip, frm_tip::lblTipText);
    E2E_CHECK(IsTip(e2e::WindowText(text)));
    e2e::PostClick(tip, frm_tip::cmdNextTip);
    E2E_CHECK(e2e::WaitUntil([&] { return IsTip(e2e::WindowText(text)); }));
    Sleep(300);  // lets the dialog finish painting
    e2e::RequestScreenshot("tip_of_the_day");
    SwitchTipsAtStartup(tip, BST_CHECKED, "0");
    HWND main = WaitForMain(zorvane.id());
    if (E2E_CHECK(main != nullptr)) {
        E2E_CHECK(e2e::FocusIsOnAControl(main));
    }
}

// Hides a bar and shows it again: the window loses the bar's height and gets it back, and
// the settings frame follows.
void ToggleBar(HWND main, int command, HWND bar, int bar_height, HWND frame, int frame_shift) {
    const int height = Height(main);
    const int frame_top = TopInParent(frame);
    Command(main, command);
    E2E_CHECK(e2e::WaitUntil([&] { return !IsWindowVisible(bar); }));
    E2E_CHECK(e2e::WaitUntil([&] { return Height(main) == height - bar_height; }));
    E2E_CHECK(FrameReaches(frame, frame_top - frame_shift));
    Command(main, command);
    E2E_CHECK(e2e::WaitUntil([&] { return IsWindowVisible(bar) != FALSE; }));
    E2E_CHECK(e2e::WaitUntil([&] { return Height(main) == height; }));
    E2E_CHECK(FrameReaches(frame, frame_top));
}

void ViewTogglesRestoreTheLayout(HWND main) {
    e2e::Context in("View toggles");
    HWND toolbar = e2e::FindControl(main, frm_main::toolbar);
    HWND frame = e2e::FindControl(main, frm_main::settings_frame);
    const int toolbar_height = Height(toolbar);
    ToggleBar(main, frm_main::menu_toolbar, toolbar, toolbar_height, frame, toolbar_height);
    // The status bar is below the frame, which stays where it is.
    const int status_step = MulDiv(315, GetDeviceCaps(GetDC(nullptr), LOGPIXELSY), 1440);
    ToggleBar(main, frm_main::menu_status_bar, e2e::FindControl(main, frm_main::status_bar),
              status_step, frame, 0);
}

void AppletsRunRundllFromTheSystemFolder(HWND main, DWORD process_id) {
    e2e::Context in("applets");
    struct Case {
        const char* name;
        int command;
        const char* arguments;
    };
    const Case cases[] = {
        {"menu Networks", frm_main::menu_networks, "shell32.dll,Control_RunDLL ncpa.cpl"},
        {"menu System", frm_main::menu_system, "shell32.dll,Control_RunDLL sysdm.cpl,,0"},
        {"toolbar Modem", frm_main::Toolbar1FirstButton + 8,
         "shell32.dll,Control_RunDLL telephon.cpl"},
        {"toolbar Internet", frm_main::Toolbar1FirstButton + 6,
         "shell32.dll,Control_RunDLL inetcpl.cpl,,0"},
    };
    char system_dir[MAX_PATH] = {};
    GetSystemDirectoryA(system_dir, MAX_PATH);
    for (const Case& c : cases) {
        e2e::Context item(c.name);
        e2e::ChildWatcher children(process_id);
        Command(main, c.command);
        auto started = children.WaitForNew(5000);
        if (!E2E_CHECK_EQ(started.size(), 1u)) {
            continue;
        }
        E2E_CHECK_EQ(Lower(started[0].image), "rundll32.exe");
        E2E_CHECK_EQ(Lower(started[0].command_line),
                     Lower("\"" + std::string(system_dir) + "\\rundll32.exe\" " + c.arguments));
        // The applet may leave a window of its own behind.
        HANDLE child = OpenProcess(PROCESS_TERMINATE, FALSE, started[0].id);
        if (child != nullptr) {
            TerminateProcess(child, 0);
            CloseHandle(child);
        }
    }
}

// Known gap: Wine's shell has no handler for .htm files in the sandbox (its browser is
// switched off there), so the opened guide cannot be observed; the command is only sent,
// and whatever it starts is listed.
void HelpOpensTheGuide(HWND main, DWORD process_id) {
    e2e::Context in("help page");
    e2e::ChildWatcher children(process_id);
    Command(main, frm_main::menu_users_guide);
    for (const auto& child : children.WaitForNew(2000)) {
        e2e::Note("started " + child.image + ": " + child.command_line);
    }
    E2E_CHECK(IsWindow(main));
}

// Each command shows its first box: the one whose caption, or the start of whose text, is
// given.
void FileMenuReachesItsOperations(HWND main, DWORD process_id) {
    e2e::Context in("File menu");
    const struct {
        int command;
        const char* caption;
        const char* text_start;
    } cases[] = {
        {frm_main::menu_restore, "Restore Default Settings", ""},
        {frm_main::menu_apply_new_settings, nullptr, "Changes Applied Successfully."},
        {frm_main::menu_registry_backup, "Registry Backup", ""},
    };
    for (const auto& c : cases) {
        Command(main, c.command);
        auto box = e2e::WaitForMessageBox(process_id);
        if (E2E_CHECK(box.has_value()) && c.caption != nullptr) {
            E2E_CHECK_EQ(box->caption, c.caption);
        }
        if (box.has_value()) {
            E2E_CHECK_EQ(box->text.substr(0, std::strlen(c.text_start)), c.text_start);
        }
        e2e::DismissMessageBoxes(process_id);
    }
    E2E_CHECK(e2e::FocusIsOnAControl(main));
}

void ManualModeExplainsItself(HWND main, DWORD process_id) {
    e2e::Context in("explanation dialog");
    std::string net_type = e2e::WindowText(e2e::FindControl(main, frm_main::connection_type_list));
    e2e::PostClick(main, frm_main::manual_mode);
    HWND display = e2e::WaitForWindow({process_id, frm_display::kClassName, ""});
    if (!E2E_CHECK(display != nullptr)) {
        return;
    }
    E2E_CHECK_EQ(e2e::WindowText(display), "Connection Type - " + net_type);
    E2E_CHECK_EQ(e2e::WindowText(e2e::FindControl(display, frm_display::heading_label)),
                 "You choose to use the \"Manual Optimization Mode\".");
    Sleep(300);  // lets the dialog finish painting
    e2e::RequestScreenshot("connection_type");
    e2e::PostClick(display, frm_display::cmdOK);
    E2E_CHECK(e2e::WaitForWindowGone(display));
    E2E_CHECK(e2e::FocusIsOnAControl(main));
}

void SecondStartHasNoTipAndSwitchesItOn() {
    e2e::Context in("second start");
    e2e::ChildProcess zorvane(e2e::AppCommand("Zorvane.exe"));
    HWND main = WaitForMain(zorvane.id());
    if (!E2E_CHECK(main != nullptr)) {
        return;
    }
    E2E_CHECK_EMPTY(e2e::FindTopLevelWindows({zorvane.id(), frm_tip::kClassName, ""}));
    E2E_CHECK(e2e::FocusIsOnAControl(main));

    ManualModeExplainsItself(main, zorvane.id());
    e2e::KeyboardEditsTheNumberBoxesAndEnterApplies(main, zorvane.id());
    ViewTogglesRestoreTheLayout(main);
    AppletsRunRundllFromTheSystemFolder(main, zorvane.id());
    HelpOpensTheGuide(main, zorvane.id());
    FileMenuReachesItsOperations(main, zorvane.id());

    Command(main, frm_main::menu_tip_of_the_day);  // modeless, from the Help menu
    HWND tip = WaitForTip(zorvane.id());
    if (E2E_CHECK(tip != nullptr)) {
        SwitchTipsAtStartup(tip, BST_UNCHECKED, "1");
    }
    Command(main, frm_main::menu_exit);
    E2E_CHECK(zorvane.WaitForExit().has_value());
}

void ThirdStartShowsTheTipAgain() {
    e2e::Context in("third start");
    e2e::ChildProcess zorvane(e2e::AppCommand("Zorvane.exe"));
    E2E_CHECK(WaitForTip(zorvane.id()) != nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    return e2e::RunNamedScenario({{"",
                                   [] {
                                       FirstStartShowsTipAndSwitchesItOff();
                                       SecondStartHasNoTipAndSwitchesItOn();
                                       ThirdStartShowsTheTipAgain();
                                   }}},
                                 argc, argv);
}
