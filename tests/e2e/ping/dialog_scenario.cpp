// The real ping configuration dialog in this process: opened modeless, read and driven
// through its controls with the messages a user's actions send, closed, opened again from
// the saved settings; then opened modal over an owner window.

#include <windows.h>

#include "fakes/program_texts.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_launcher.h"
#include "ping_driver_support.h"
#include "support/check.h"
#include "support/control_driver.h"
#include "support/screen.h"
#include "support/windows_on_screen.h"
#include "win32/ping/keep_alive.h"
#include "win32/ping/ping_ids.h"
#include "win32/ui/layout.h"
#include "win32/ui/win_ports.h"

namespace zv::e2e {

namespace {

namespace id = win32::frm_ping;

constexpr const char* kDir = "C:\\Zv";
constexpr const char* kCfg = "C:\\Zv\\Ping.cfg";

// The services a program hands the keep-alive ping, and the ping itself.
struct Program {
    explicit Program(win32::PingDialogMode mode)
        : keep_alive({files, messages, launcher}, kDir, "Zorvane", mode) {
        keep_alive.Ping().OnSettingsLoaded([this] { ++loads; });
    }

    testing::MemoryFileSystem files;  // this scenario is about the window, not the disk
    PrintedMessages messages;
    testing::RecordingLauncher launcher;
    win32::KeepAlive keep_alive;
    int loads = 0;
};

// Lets the dialog, on this thread, run what an action started.
void PumpBriefly() {
    PumpMessages(100);
}

// The control's rectangle in the dialog's client pixels.
RECT Placed(HWND dialog, int control) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, control), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A key pressed with the focus on the control, through the dialog's keyboard interface.
void PressKeyIn(HWND control, WPARAM key) {
    SetFocus(control);
    PostMessageA(control, WM_KEYDOWN, key, 0);
    PumpMessages(200);
}

void CheckGeometry(HWND dialog, int expected_dpi) {
    int dpi = win32::ScreenDpi();
    Context in("at " + std::to_string(dpi) + " DPI");
    if (expected_dpi != 0) {
        E2E_CHECK_EQ(dpi, expected_dpi);
    }
    RECT client;
    GetClientRect(dialog, &client);
    E2E_CHECK_EQ(client.right, MulDiv(6600, dpi, 1440));
    E2E_CHECK_EQ(client.bottom, MulDiv(4125, dpi, 1440));
    RECT ok = Placed(dialog, id::cmdOK);
    E2E_CHECK_EQ(ok.left, MulDiv(5280, dpi, 1440));
    E2E_CHECK_EQ(ok.right - ok.left, MulDiv(1095, dpi, 1440));
    // Inside configuration_frame, whose own position adds to its controls'.
    E2E_CHECK_EQ(Placed(dialog, id::chkSound).top, MulDiv(1200 + 2160, dpi, 1440));
}

void CheckTabOrder(HWND dialog) {
    const int order[] = {id::txtPingHost, id::cmbPingInterval, id::cmdOK,  id::cmdCancel,
                         id::chkSound,    id::cmdDefault,      id::cmdHelp};
    for (size_t i = 0; i + 1 < sizeof order / sizeof order[0]; ++i) {
        Context in("Tab from control " + std::to_string(order[i]));
        E2E_CHECK_EQ(GetDlgCtrlID(GetNextDlgTabItem(dialog, GetDlgItem(dialog, order[i]), FALSE)),
                     order[i + 1]);
    }
}

void FirstOpening(Program& program, int expected_dpi) {
    Context in("first opening");
    win32::KeepAlive& host = program.keep_alive;
    host.OpenPingDialog(nullptr);
    HWND dialog = host.DialogWindow();
    ControlDriver d(dialog, PumpBriefly);
    if (!E2E_CHECK(dialog != nullptr) || !E2E_CHECK(IsWindowVisible(dialog))) {
        return;
    }
    PumpMessages(200);
    E2E_CHECK_EQ(WindowText(dialog), "Ping Configuration");
    E2E_CHECK_EQ(d.Text(id::explanation_label), ping::kPingExplanation);
    E2E_CHECK(d.Checked(id::automatic_mode));
    E2E_CHECK_EQ(d.Text(id::txtPingHost), "Automatic");
    E2E_CHECK(!d.Enabled(id::txtPingHost));
    E2E_CHECK_EQ(SendMessageA(d.Control(id::cmbPingInterval), CB_GETCOUNT, 0, 0), 60);
    E2E_CHECK_EQ(d.Selection(id::cmbPingInterval), 4);
    E2E_CHECK_EQ(program.loads, 1);
    CheckGeometry(dialog, expected_dpi);
    RequestScreenshot("automatic");

    d.Click(id::manual_mode);
    E2E_CHECK_EQ(d.Text(id::txtPingHost), "");
    E2E_CHECK(d.Enabled(id::txtPingHost));
    E2E_CHECK_EQ(d.Selection(id::cmbPingInterval), -1);
    CheckTabOrder(dialog);

    d.Click(id::cmdOK);
    E2E_CHECK_EQ(program.messages.last, "Enter Values Properly.");
    E2E_CHECK(IsWindow(dialog));
    E2E_CHECK_EQ(program.files.writes, 0);

    SetWindowTextA(d.Control(id::txtPingHost), "ping.zorvane.test");
    d.Pick(id::cmbPingInterval, 11);
    d.Click(id::chkSound);
    RequestScreenshot("manual");

    PressKeyIn(d.Control(id::txtPingHost), VK_RETURN);  // OK, the default button
    E2E_CHECK(!IsWindow(dialog));
    E2E_CHECK(host.DialogWindow() == nullptr);
    E2E_CHECK_EQ(program.files.files[kCfg],
                 test_texts::PingFile(false, "ping.zorvane.test", 12, true));
}

void SecondOpening(Program& program) {
    Context in("second opening");
    win32::KeepAlive& host = program.keep_alive;
    host.OpenPingDialog(nullptr);
    HWND dialog = host.DialogWindow();
    ControlDriver d(dialog, PumpBriefly);
    if (!E2E_CHECK(dialog != nullptr)) {
        return;
    }
    PumpMessages(100);
    E2E_CHECK(d.Checked(id::manual_mode));
    E2E_CHECK_EQ(d.Text(id::txtPingHost), "ping.zorvane.test");
    E2E_CHECK_EQ(d.Selection(id::cmbPingInterval), 11);
    E2E_CHECK(d.Checked(id::chkSound));

    host.OpenPingDialog(nullptr);  // already open: shown again, not loaded again
    E2E_CHECK(host.DialogWindow() == dialog);
    E2E_CHECK_EQ(program.loads, 2);

    d.Click(id::cmdHelp);
    if (E2E_CHECK_EQ(program.launcher.launches.size(), 1u)) {
        E2E_CHECK_EQ(program.launcher.launches[0].target, "C:\\Zv\\Help\\help.htm");
    }
    d.Click(id::cmdDefault);
    PressKeyIn(d.Control(id::cmdDefault), VK_ESCAPE);  // Cancel
    E2E_CHECK(!IsWindow(dialog));
    E2E_CHECK_EQ(program.files.writes, 1);
}

void ModalOpening() {
    Context in("modal");
    Program program(win32::PingDialogMode::Modal);
    win32::KeepAlive& host = program.keep_alive;
    HWND owner = MakeOwnerWindow();
    bool found = false;
    bool owner_disabled = false;
    // The helper watches for the dialog and cancels it.
    auto watch = [&] {
        for (int i = 0; i < 100 && !found; ++i) {
            Sleep(50);
            HWND dialog = FindWindowA(id::kClassName, nullptr);
            if (dialog != nullptr && IsWindowVisible(dialog)) {
                found = true;
                owner_disabled = !IsWindowEnabled(owner);
                PostMessageA(GetDlgItem(dialog, id::cmdCancel), BM_CLICK, 0, 0);
            }
        }
    };
    E2E_CHECK(RunModalWithHelper([&] { host.OpenPingDialog(owner); }, watch));
    E2E_CHECK(found);
    E2E_CHECK(owner_disabled);
    E2E_CHECK(IsWindowEnabled(owner));
    E2E_CHECK(host.DialogWindow() == nullptr);
    DestroyWindow(owner);
}

}  // namespace

void RunDialog(int expected_dpi) {
    Program program(win32::PingDialogMode::Modeless);
    FirstOpening(program, expected_dpi);
    SecondOpening(program);
    ModalOpening();
}

}  // namespace zv::e2e
