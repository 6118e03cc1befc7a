// The real ping configuration dialog in this process: opened modeless, read and driven
// through its controls with the messages a user's actions send, closed, opened again from
// the saved settings; then opened modal over an owner window.

#include <windows.h>

#include <map>
#include <thread>

#include "ping/keep_alive_ping.h"
#include "scenarios.h"
#include "win32/ping/icmp_echo_service.h"
#include "win32/ping/ping_dialog.h"
#include "win32/ping/ping_dialog_ids.h"
#include "win32/ping/wave_sound.h"
#include "win32/ping/winsock_service.h"
#include "win32/ui/layout.h"
#include "win32/ui/win_ports.h"

namespace zv::e2e {

namespace {

namespace id = win32::frm_ping_ids;

constexpr const char* kDir = "C:\\Zv";
constexpr const char* kCfg = "C:\\Zv\\Ping.cfg";

// Files in memory: this scenario is about the window, not the disk.
class DriverFiles : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    int writes = 0;
    bool FileExists(const std::string& path) const override { return files.count(path) != 0; }
    std::optional<std::string> ReadFile(const std::string& path) const override {
        auto it = files.find(path);
        return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    bool WriteFileAtomic(const std::string& path, const std::string& bytes) override {
        ++writes;
        files[path] = bytes;
        return true;
    }
};

class OpenedDocuments : public shell::LauncherPort {
  public:
    std::string last;
    void ShellOpen(const std::string& target, int) override { last = target; }
    unsigned long RunCommand(const std::string&, int) override { return 0; }
};

struct Program {
    win32::WinsockService sockets;
    win32::IcmpEchoService echo;
    win32::WaveSound sound;
    DriverFiles files;
    PrintedMessages messages;
    win32::Win32EventPump pump;
    OpenedDocuments launcher;
    ping::KeepAlivePing ping{{sockets, echo, sound, files, messages, pump}, kDir, "Zorvane"};
    int loads = 0;
};

HWND Item(HWND dialog, int control) {
    return GetDlgItem(dialog, control);
}

bool Checked(HWND dialog, int control) {
    return SendMessageA(Item(dialog, control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND dialog, int control) {
    SendMessageA(Item(dialog, control), BM_CLICK, 0, 0);
    PumpMessages(100);
}

// What a user's pick in the list sends: the selection, then the notification.
void Pick(HWND dialog, int position) {
    HWND list = Item(dialog, id::cmbPingInterval);
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id::cmbPingInterval, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

int Selection(HWND dialog) {
    return static_cast<int>(SendMessageA(Item(dialog, id::cmbPingInterval), CB_GETCURSEL, 0, 0));
}

void CheckGeometry(Checks& checks, HWND dialog, int expected_dpi) {
    int dpi = win32::ScreenDpi();
    if (expected_dpi != 0) {
        checks.ExpectEqual("screen DPI", dpi, expected_dpi);
    }
    RECT client;
    GetClientRect(dialog, &client);
    checks.ExpectEqual("client width in pixels", client.right, MulDiv(6600, dpi, 1440));
    checks.ExpectEqual("client height in pixels", client.bottom, MulDiv(4125, dpi, 1440));
    RECT ok;
    GetWindowRect(Item(dialog, id::cmdOK), &ok);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
    checks.ExpectEqual("cmdOK left", ok.left, MulDiv(5280, dpi, 1440));
    checks.ExpectEqual("cmdOK width", ok.right - ok.left, MulDiv(1095, dpi, 1440));
    RECT sound;
    GetWindowRect(Item(dialog, id::chkSound), &sound);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&sound), 2);
    checks.ExpectEqual("chkSound top, inside Frame1", sound.top, MulDiv(1200 + 2160, dpi, 1440));
}

void CheckTabOrder(Checks& checks, HWND dialog) {
    const int order[] = {id::txtPingHost, id::cmbPingInterval, id::cmdOK,  id::cmdcancel,
                         id::chkSound,    id::cmdDefault,      id::cmdHelp};
    for (size_t i = 0; i + 1 < sizeof order / sizeof order[0]; ++i) {
        HWND next = GetNextDlgTabItem(dialog, Item(dialog, order[i]), FALSE);
        checks.ExpectEqual("Tab after control " + std::to_string(order[i]), GetDlgCtrlID(next),
                           order[i + 1]);
    }
}

void FirstOpening(Checks& checks, Program& program, win32::PingDialogHost& host, int expected_dpi) {
    host.OpenPingDialog(nullptr);
    HWND dialog = host.DialogWindow();
    checks.Expect(dialog != nullptr && IsWindowVisible(dialog), "the dialog opens, visible",
                  dialog != nullptr ? "a window" : "none");
    if (dialog == nullptr) {
        return;
    }
    PumpMessages(200);
    checks.ExpectEqual("caption", WindowText(dialog), "Ping Configuration");
    checks.ExpectEqual("Label1", WindowText(Item(dialog, id::Label1)), ping::kPingExplanation);
    checks.Expect(Checked(dialog, id::Option1), "Automatic Mode is selected", "");
    checks.ExpectEqual("host box", WindowText(Item(dialog, id::txtPingHost)), "Automatic");
    checks.Expect(!IsWindowEnabled(Item(dialog, id::txtPingHost)), "host box disabled", "");
    checks.ExpectEqual("interval items",
                       SendMessageA(Item(dialog, id::cmbPingInterval), CB_GETCOUNT, 0, 0), 60);
    checks.ExpectEqual("interval position", Selection(dialog), 4);
    checks.ExpectEqual("settings loads", program.loads, 1);
    CheckGeometry(checks, dialog, expected_dpi);
    AskSandbox("shot-ping-dialog-automatic");

    Click(dialog, id::Option2);
    checks.ExpectEqual("host box after Manual Mode", WindowText(Item(dialog, id::txtPingHost)), "");
    checks.Expect(IsWindowEnabled(Item(dialog, id::txtPingHost)), "host box enabled", "");
    checks.ExpectEqual("interval position after Manual Mode", Selection(dialog), -1);
    CheckTabOrder(checks, dialog);

    Click(dialog, id::cmdOK);
    checks.ExpectEqual("message on OK without host", program.messages.last,
                       "Enter Values Properly.");
    checks.Expect(IsWindow(dialog) && program.files.writes == 0, "the dialog stays, nothing saved",
                  std::to_string(program.files.writes) + " writes");

    SetWindowTextA(Item(dialog, id::txtPingHost), "ping.zorvane.test");
    Pick(dialog, 11);
    Click(dialog, id::chkSound);
    AskSandbox("shot-ping-dialog-manual");

    SetFocus(Item(dialog, id::txtPingHost));
    PostMessageA(Item(dialog, id::txtPingHost), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(Item(dialog, id::txtPingHost), WM_KEYDOWN, VK_ESCAPE, 0);
    PumpMessages(200);
    checks.Expect(IsWindow(dialog) && program.files.writes == 0,
                  "Enter and Esc neither save nor close", "");

    Click(dialog, id::cmdOK);
    checks.Expect(!IsWindow(dialog) && host.DialogWindow() == nullptr, "OK closes the dialog", "");
    checks.ExpectEqual("Ping.cfg after OK", program.files.files[kCfg],
                       "PingAutomatic,#FALSE#\r\nPingHost,ping.zorvane.test\r\nPingInterval,12\r\n"
                       "PingSound,#TRUE#\r\n");
}

void SecondOpening(Checks& checks, Program& program, win32::PingDialogHost& host) {
    host.OpenPingDialog(nullptr);
    HWND dialog = host.DialogWindow();
    if (dialog == nullptr) {
        checks.Expect(false, "the dialog opens again", "none");
        return;
    }
    PumpMessages(100);
    checks.Expect(Checked(dialog, id::Option2), "Manual Mode is selected from the file", "");
    checks.ExpectEqual("host box from the file", WindowText(Item(dialog, id::txtPingHost)),
                       "ping.zorvane.test");
    checks.ExpectEqual("interval position from the file", Selection(dialog), 11);
    checks.Expect(Checked(dialog, id::chkSound), "sound checked from the file", "");

    host.OpenPingDialog(nullptr);
    checks.Expect(host.DialogWindow() == dialog && program.loads == 2,
                  "opening it again shows the same dialog without loading",
                  std::to_string(program.loads) + " loads");

    Click(dialog, id::cmdHelp);
    checks.ExpectEqual("Help opens", program.launcher.last, "C:\\Zv\\Help\\help.htm");
    Click(dialog, id::cmdDefault);
    Click(dialog, id::cmdcancel);
    checks.Expect(!IsWindow(dialog) && program.files.writes == 1, "Cancel closes, saves nothing",
                  std::to_string(program.files.writes) + " writes");
}

void ModalOpening(Checks& checks, Program& program) {
    win32::PingDialogHost host(program.ping, program.messages, program.launcher, kDir, "Zorvane",
                               win32::PingDialogMode::Modal);
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    bool owner_disabled = false;
    bool found = false;
    // The modal loop holds this thread: a helper watches for the dialog and cancels it.
    std::thread helper([&] {
        for (int i = 0; i < 100 && !found; ++i) {
            Sleep(50);
            HWND dialog = FindWindowA(win32::kPingDialogClass, nullptr);
            if (dialog != nullptr && IsWindowVisible(dialog)) {
                found = true;
                owner_disabled = !IsWindowEnabled(owner);
                PostMessageA(GetDlgItem(dialog, id::cmdcancel), BM_CLICK, 0, 0);
            }
        }
    });
    host.OpenPingDialog(owner);
    helper.join();
    checks.Expect(found && owner_disabled, "modal: the owner takes no input while it is open",
                  found ? (owner_disabled ? "disabled" : "enabled") : "no dialog");
    checks.Expect(IsWindowEnabled(owner) && host.DialogWindow() == nullptr,
                  "modal: returns when it closes, the owner enabled again", "");
    DestroyWindow(owner);
}

}  // namespace

void RunDialog(Checks& checks, int expected_dpi) {
    Program program;
    program.ping.OnSettingsLoaded([&program] { ++program.loads; });
    win32::PingDialogHost host(program.ping, program.messages, program.launcher, kDir, "Zorvane",
                               win32::PingDialogMode::Modeless);
    FirstOpening(checks, program, host, expected_dpi);
    SecondOpening(checks, program, host);
    ModalOpening(checks, program);
}

}  // namespace zv::e2e
