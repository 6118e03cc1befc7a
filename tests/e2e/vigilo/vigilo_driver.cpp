// Drives the real companion in the sandbox and watches its icon in the tray that Wine's
// explorer draws. Each scenario prints every check with the value it saw and ends with
// "N passed, N failed".
//
//   vigilo_driver tray             start through Zorvane, animation, second copy, left and
//                                  right click, Disable/Enable, Exit
//   vigilo_driver link_lost        echo replies stop: the next probe shows image 5
//   vigilo_driver no_main_program  a left click without Zorvane.exe: a message, then on
//
// Started under the name Zorvane.exe it is a stand-in main program that notes its start.
#include <windows.h>

#include <cstdio>
#include <string>

#include "driver_support.h"
#include "tray_observer.h"
#include "win32/ping/ping_dialog_ids.h"
#include "win32/vigilo/vigilo_ids.h"

using namespace zv::e2e;
namespace ids = zv::vigilo_ids;

namespace {

const char kDisabledText[] =
    "You have only disabled the Ping utility...\r\n\r\n"
    "Zorvane will continue boosting your Internet connection.\r\n"
    "In order to disable the connection acceleration, you will have to run the uninstall "
    "program.";

std::string VigiloExe() {
    return AppDir() + "\\vigilo.exe";
}
std::string MainExe() {
    return AppDir() + "\\Zorvane.exe";
}
std::string StartMarker() {
    return AppDir() + "\\main-started.txt";
}

int StartsNoted() {
    int lines = 0;
    if (FILE* f = std::fopen(StartMarker().c_str(), "r")) {
        for (int c; (c = std::fgetc(f)) != EOF;) {
            lines += c == '\n';
        }
        std::fclose(f);
    }
    return lines;
}

// The stand-in main program: one line per start.
int NoteStart() {
    if (FILE* f = std::fopen(StartMarker().c_str(), "a")) {
        std::fprintf(f, "%s\n", GetCommandLineA());
        std::fclose(f);
    }
    return 0;
}

bool RunningAsMainProgram() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path);
    name = name.substr(name.find_last_of('\\') + 1);
    return lstrcmpiA(name.c_str(), "Zorvane.exe") == 0;
}

HWND WaitForMonitorWindow(DWORD limit_ms) {
    return WaitForTopWindow(0, "ZorvaneVigilo", "Vigilo", limit_ms);
}

// A click of the real mouse on the tray icon, as a user makes it.
bool ClickIcon(const TrayObserver& tray, bool right) {
    POINT centre;
    if (!tray.IconCentre(centre)) {
        return false;
    }
    SetCursorPos(centre.x, centre.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    return SendInput(2, input, sizeof(INPUT)) == 2;
}

HWND WaitForMessageBox(DWORD process_id, DWORD limit_ms) {
    for (double start = NowMs(); NowMs() - start < limit_ms; Sleep(20)) {
        for (HWND box : FindTopWindows(process_id, "#32770", "")) {
            if (IsWindowVisible(box)) {
                return box;
            }
        }
    }
    return nullptr;
}

std::string BoxText(HWND box) {
    return TextOf(GetDlgItem(box, 0xFFFF));
}

void Answer(HWND box, int button) {
    PostMessageA(box, WM_COMMAND, button, 0);
}

std::string Printable(std::string text) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) {
        text.replace(at, 2, "|");
    }
    return text;
}

// Whether the pictures follow one another as the animation's cycle 1, 2, 3, 4, 1, ...
bool Cycles(const std::vector<int>& images) {
    for (size_t i = 1; i < images.size(); ++i) {
        if (images[i] != images[i - 1] % 4 + 1) {
            return false;
        }
    }
    return !images.empty() && images.front() >= 1 && images.front() <= 4;
}

void CheckAnimation(Checks& checks, const TrayObserver& tray, const std::string& when) {
    // The first frame comes 200 ms after the first answered probe.
    for (double start = NowMs(); NowMs() - start < 5000; Sleep(20)) {
        int image = tray.CurrentImage();
        if (image >= 1 && image <= 4) {
            break;
        }
    }
    TrayObserver::Timeline seen = tray.Watch(2000);
    double period = seen.change_ms.size() > 2 ? (seen.change_ms.back() - seen.change_ms[1]) /
                                                    static_cast<double>(seen.change_ms.size() - 2)
                                              : 0;
    checks.Expect(Cycles(seen.images) && seen.images.size() >= 8,
                  when + ": the icon cycles through images 1 to 4", Join(seen.images));
    checks.Expect(period > 150 && period < 300, when + ": a new picture every 200 ms",
                  std::to_string(static_cast<int>(period)) + " ms");
}

void Exit(Checks& checks, const TrayObserver& tray, HWND monitor,
          const PROCESS_INFORMATION& process) {
    PostMessageA(monitor, WM_COMMAND, ids::mnuExit, 0);
    bool ended = WaitForExit(process, 5000);
    for (double start = NowMs(); !tray.IconWindows().empty() && NowMs() - start < 3000;) {
        Sleep(20);
    }
    checks.Expect(ended, "Exit ends the companion", ended ? "ended" : "still running");
    checks.Expect(tray.IconWindows().empty(), "Exit removes the tray icon",
                  std::to_string(tray.IconWindows().size()) + " icons");
}

int Tray() {
    Checks checks;
    TrayObserver tray(VigiloExe());
    PROCESS_INFORMATION main = StartProgram(MainExe(), "1");
    WaitForExit(main, 5000);
    EndProgram(main);
    HWND monitor = WaitForMonitorWindow(10000);
    checks.Expect(monitor != nullptr, "Zorvane 1 starts the companion",
                  monitor ? "window" : "none");
    if (monitor == nullptr) {
        return checks.Finish();
    }
    checks.Expect(!IsWindowVisible(monitor), "its window \"Vigilo\" stays hidden",
                  IsWindowVisible(monitor) ? "visible" : "hidden");
    HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, ProcessOf(monitor));
    PROCESS_INFORMATION vigilo{handle, nullptr, ProcessOf(monitor), 0};

    bool shown = tray.WaitForImage(1, 5000);
    checks.Expect(shown && tray.IconWindows().size() == 1, "one icon appears in the tray",
                  std::to_string(tray.IconWindows().size()) + " icons");
    CheckAnimation(checks, tray, "probe host answering");

    PROCESS_INFORMATION second = StartProgram(VigiloExe());
    bool second_ended = WaitForExit(second, 3000);
    EndProgram(second);
    checks.Expect(second_ended, "a second copy ends at once", second_ended ? "ended" : "running");
    checks.Expect(ProcessesNamed("vigilo.exe").size() == 1 && tray.IconWindows().size() == 1,
                  "the first copy and its one icon remain",
                  std::to_string(ProcessesNamed("vigilo.exe").size()) + " processes, " +
                      std::to_string(tray.IconWindows().size()) + " icons");

    // From here on Zorvane.exe is this driver, which notes each start.
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    CopyFileA(self, MainExe().c_str(), FALSE);
    ClickIcon(tray, false);
    for (double start = NowMs(); StartsNoted() < 1 && NowMs() - start < 5000;) {
        Sleep(50);
    }
    checks.Expect(StartsNoted() == 1, "a left click starts Zorvane.exe",
                  std::to_string(StartsNoted()) + " starts");

    ClickIcon(tray, true);
    HWND menu = WaitForTopWindow(vigilo.dwProcessId, "#32768", "", 3000);
    for (double start = NowMs(); menu && !IsWindowVisible(menu) && NowMs() - start < 3000;) {
        Sleep(20);
    }
    checks.Expect(menu != nullptr && IsWindowVisible(menu), "a right click pops up the tray menu",
                  menu ? "menu window" : "none");
    SandboxRequest("shot-vigilo-menu");
    // Clicking beside the menu closes it, as for a user.
    SetCursorPos(600, 500);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    Sleep(300);

    PostMessageA(monitor, WM_COMMAND, ids::mnuDisable, 0);
    HWND box = WaitForMessageBox(vigilo.dwProcessId, 5000);
    checks.Expect(box != nullptr && TextOf(box) == "Vigilo",
                  "Disable shows a message titled Vigilo", box ? TextOf(box) : "no message");
    checks.Expect(box != nullptr && BoxText(box) == kDisabledText, "with the Disable text",
                  box ? Printable(BoxText(box)) : "");
    if (box != nullptr) {
        Answer(box, IDOK);
    }
    Sleep(300);
    PostMessageA(monitor, WM_COMMAND, ids::mnuDisable, 0);
    HWND again = WaitForMessageBox(vigilo.dwProcessId, 1500);
    checks.Expect(again == nullptr, "Enable shows no message", again ? BoxText(again) : "none");
    if (again != nullptr) {
        Answer(again, IDOK);
    }
    CheckAnimation(checks, tray, "after the menu commands");

    // Exit while the ping dialog is open: the icon goes at once, the program when the
    // dialog is closed.
    PostMessageA(monitor, WM_COMMAND, ids::mnuPingConfiguration, 0);
    HWND dialog = WaitForTopWindow(vigilo.dwProcessId, "", "Ping Configuration", 5000);
    for (double start = NowMs(); dialog && !IsWindowVisible(dialog) && NowMs() - start < 3000;) {
        Sleep(20);
    }
    checks.Expect(dialog != nullptr && IsWindowVisible(dialog),
                  "Ping Configuration opens the ping dialog", dialog ? "shown" : "none");
    PostMessageA(monitor, WM_COMMAND, ids::mnuExit, 0);
    for (double start = NowMs(); !tray.IconWindows().empty() && NowMs() - start < 3000;) {
        Sleep(20);
    }
    checks.Expect(tray.IconWindows().empty(), "Exit removes the icon with the dialog open",
                  std::to_string(tray.IconWindows().size()) + " icons");
    bool waits = !WaitForExit(vigilo, 1000);
    checks.Expect(waits, "the program stays while the dialog is open", waits ? "running" : "ended");
    if (dialog != nullptr) {
        PostMessageA(dialog, WM_COMMAND, zv::win32::frm_ping_ids::cmdcancel, 0);
    }
    bool ended = WaitForExit(vigilo, 5000);
    checks.Expect(ended, "closing the dialog ends it", ended ? "ended" : "still running");
    EndProgram(vigilo);
    return checks.Finish();
}

int LinkLost() {
    Checks checks;
    TrayObserver tray(VigiloExe());
    PROCESS_INFORMATION vigilo = StartProgram(VigiloExe());
    HWND monitor = WaitForMonitorWindow(10000);
    CheckAnimation(checks, tray, "probe host answering");

    SandboxRequest("echo-off");
    double off = NowMs();
    // The next probe comes within 30 s and gives up 10 s later.
    bool lost = tray.WaitForImage(5, 45000);
    checks.Expect(lost, "with echo replies off the next probe shows image 5",
                  std::to_string(static_cast<int>((NowMs() - off) / 1000)) + " s after echo-off");
    TrayObserver::Timeline seen = tray.Watch(1500);
    checks.Expect(seen.images == std::vector<int>{5}, "and the animation stops", Join(seen.images));
    SandboxRequest("shot-vigilo-not-connected");
    Exit(checks, tray, monitor, vigilo);
    EndProgram(vigilo);
    return checks.Finish();
}

int NoMainProgram() {
    Checks checks;
    TrayObserver tray(VigiloExe());
    DeleteFileA(MainExe().c_str());
    PROCESS_INFORMATION vigilo = StartProgram(VigiloExe());
    HWND monitor = WaitForMonitorWindow(10000);
    tray.WaitForImage(1, 5000);
    ClickIcon(tray, false);
    HWND box = WaitForMessageBox(vigilo.dwProcessId, 5000);
    checks.Expect(box != nullptr && TextOf(box) == "Vigilo" &&
                      BoxText(box).find("Zorvane.exe") != std::string::npos,
                  "a left click without Zorvane.exe says so",
                  box ? Printable(BoxText(box)) : "none");
    SandboxRequest("shot-vigilo-no-main-program");
    if (box != nullptr) {
        Answer(box, IDOK);
    }
    bool running = WaitForSingleObject(vigilo.hProcess, 500) == WAIT_TIMEOUT;
    checks.Expect(running, "the companion keeps running", running ? "running" : "ended");
    CheckAnimation(checks, tray, "after the message");
    Exit(checks, tray, monitor, vigilo);
    EndProgram(vigilo);
    return checks.Finish();
}

}  // namespace

int main(int argc, char** argv) {
    if (RunningAsMainProgram()) {
        return NoteStart();
    }
    std::string scenario = argc > 1 ? argv[1] : "";
    if (scenario == "tray") {
        return Tray();
    }
    if (scenario == "link_lost") {
        return LinkLost();
    }
    if (scenario == "no_main_program") {
        return NoMainProgram();
    }
    std::printf("usage: vigilo_driver tray|link_lost|no_main_program\n");
    return 2;
}
