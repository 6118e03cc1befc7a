// Drives the real companion in the sandbox and watches its icon in the tray that Wine's
// explorer draws: the pixels of the icon, matched against the program's own pictures.
//
//   vigilo_driver tray             start through Zorvane (never a window on screen),
//                                  animation, second copy, left and right click,
//                                  Disable/Enable, ping dialog, Exit
//   vigilo_driver link_lost        echo replies stop: the next probe shows image 5, and the
//                                  tray menu and history window answer during the probes
//   vigilo_driver no_main_program  a left click without Zorvane.exe: a message, then on
//   vigilo_driver stays_disabled   after Disable, opening the ping dialog sends no
//                                  keep-alive pings
//   vigilo_driver answers_at_once  the log lock held elsewhere, name servers silent, echoes
//                                  lost: the windows answer through probes, log lines and
//                                  keep-alive pings, and no line is lost
//   vigilo_driver history          the link drops and returns: tip, history window, log;
//                                  no probe asleep, and the wake delays the next
//   vigilo_driver week             a week's record with time off: the graph, a zoom, its
//                                  export and Backspace
//   vigilo_driver outage PART      on the routed network, the gateway, provider or host goes
//                                  silent: the tip and history window say where
//   vigilo_driver tcp_fallback     echoes dropped at the host, its port 443 open: reachable
//                                  by TCP only, to the probe host set in Options
//   vigilo_driver portal           the gateway answers TCP for the host: "(may be a proxy)"
//   vigilo_driver mute_gateway     a gateway that never tells of expired hops is passed over
//   vigilo_driver name_lost        lookups fail on a working link: "name lookup failed"
//   vigilo_driver outage_report    the gateway, then the provider silent: the report of the
//                                  week lists both outages, when and where they were
//
// Started under the name Zorvane.exe it is a stand-in main program that notes its start.
#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/check.h"
#include "support/files.h"
#include "support/icmp_counters.h"
#include "support/message_boxes.h"
#include "support/process.h"
#include "support/sandbox_control.h"
#include "support/scenario_runner.h"
#include "support/screen.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "support/wine_settings.h"
#include "support/companion.h"
#include "bloat_scenario.h"
#include "history_scenario.h"
#include "record_scenario.h"
#include "report_scenario.h"
#include "span_scenario.h"
#include "outage_scenario.h"
#include "support/tray_observer.h"
#include "win32/ping/ping_ids.h"
#include "win32/vigilo/vigilo_ids.h"

using namespace zv::e2e;
namespace ids = zv::win32::frm_vigilo;

namespace {

const char kDisabledText[] =
    "You have only disabled the Ping utility...\r\n\r\n"
    "Zorvane will continue boosting your Internet connection.\r\n"
    "In order to disable the connection acceleration, you will have to run the uninstall "
    "program.";

std::string MainExe() {
    return AppDirectory() + "\\Zorvane.exe";
}
std::string StartMarker() {
    return AppDirectory() + "\\main-started.txt";
}

int StartsNoted() {
    const std::string lines = ReadWholeFile(StartMarker()).value_or("");
    return static_cast<int>(std::count(lines.begin(), lines.end(), '\n'));
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
    const std::string path = DriverPath();
    return lstrcmpiA(path.substr(path.find_last_of('\\') + 1).c_str(), "Zorvane.exe") == 0;
}

// A click of the real mouse on the tray icon, as a user makes it.
void ClickIcon(const TrayObserver& tray, bool right) {
    POINT centre;
    if (E2E_CHECK(tray.IconCentre(centre))) {
        MouseClickAt(centre, right);
    }
}

// Right-clicks the icon and returns the tray menu, or nullptr. A balloon may stand over the
// icon just then (the drop's): a click on it only closes it, so a second click is allowed
// before the menu counts as missing.
HWND OpenTrayMenu(const TrayObserver& tray, DWORD process_id) {
    HWND menu = nullptr;
    for (int click = 1; click <= 2 && menu == nullptr; ++click) {
        ClickIcon(tray, true);
        menu = WaitForWindow({process_id, "#32768", "", true}, 3000);
        if (menu == nullptr && click == 1) {
            Note("the first right-click opened no menu (a balloon over the icon?)");
        }
    }
    return menu;
}

// A click beside the menu closes it, as for a user.
void CloseByClickingBeside(HWND menu) {
    MouseClickAt({600, 500});
    E2E_CHECK(menu == nullptr || WaitForWindowGone(menu, 3000));
}

void SecondCopyEndsAtOnce(const TrayObserver& tray) {
    Context in("second copy");
    ChildProcess second(AppCommand("vigilo.exe"));
    E2E_CHECK_EQ(second.WaitForExit(3000), std::optional<DWORD>(0));
    E2E_CHECK_EQ(ProcessesNamed("vigilo.exe").size(), 1u);
    E2E_CHECK_EQ(tray.IconWindows().size(), 1u);
}

void ClicksStartMainAndPopUpMenu(const TrayObserver& tray, DWORD process_id) {
    // From here on Zorvane.exe is this driver, which notes each start.
    CopyFileA(DriverPath().c_str(), MainExe().c_str(), FALSE);
    {
        Context in("left click");
        ClickIcon(tray, false);
        WaitUntil([] { return StartsNoted() >= 1; }, 5000);
        E2E_CHECK_EQ(StartsNoted(), 1);
    }
    Context in("right click");
    HWND menu = OpenTrayMenu(tray, process_id);
    E2E_CHECK(menu != nullptr);
    RequestScreenshot("vigilo-menu");
    CloseByClickingBeside(menu);
}

void DisableShowsMessageOnceEnableNone(HWND monitor, DWORD process_id) {
    Context in("Disable, then Enable");
    PostMessageA(monitor, WM_COMMAND, ids::menu_disable, 0);
    auto box = WaitForMessageBox(process_id, 5000);
    if (E2E_CHECK(box.has_value())) {
        E2E_CHECK_EQ(box->caption, "Vigilo");
        E2E_CHECK_EQ(box->text, kDisabledText);
        E2E_CHECK(AnswerMessageBox(*box, IDOK));
    }
    PostMessageA(monitor, WM_COMMAND, ids::menu_disable, 0);
    auto again = WaitForMessageBox(process_id, 1500);
    E2E_CHECK(!again.has_value());
    if (again) {
        AnswerMessageBox(*again, IDOK);
    }
}

// Exit while the ping dialog is open: the icon goes at once, the program when the dialog
// is closed.
void ExitWithPingDialogOpen(const TrayObserver& tray, HWND monitor, DWORD process_id) {
    Context in("Exit with the ping dialog open");
    // The companion is not our child: watch it through a handle of our own.
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, process_id);
    auto ends_within = [&](DWORD ms) { return WaitForSingleObject(process, ms) == WAIT_OBJECT_0; };
    PostMessageA(monitor, WM_COMMAND, ids::menu_ping_configuration, 0);
    HWND dialog = WaitForWindow({process_id, "", "Ping Configuration", true}, 5000);
    E2E_CHECK(dialog != nullptr);
    PostMessageA(monitor, WM_COMMAND, ids::menu_exit, 0);
    WaitForIconGone(tray);
    E2E_CHECK_EQ(tray.IconWindows().size(), 0u);
    E2E_CHECK(!ends_within(1000));
    if (dialog != nullptr) {
        PostMessageA(dialog, WM_COMMAND, zv::win32::frm_ping::cmdCancel, 0);
    }
    E2E_CHECK(ends_within(5000));
    CloseHandle(process);
}

// Zorvane starts the companion with a hidden show instruction. Watches from that start until
// 3 s after the companion's window exists: how often it was seen on screen.
int SightingsWhileStarting() {
    int sightings = 0;
    DWORD created_at = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
        sightings += !FindTopLevelWindows({0, "ZorvaneVigilo", "", true}).empty();
        if (created_at == 0 && !FindTopLevelWindows({0, "ZorvaneVigilo", "", false}).empty()) {
            created_at = GetTickCount();
        }
        if (created_at != 0 && GetTickCount() - created_at > 3000) {
            break;
        }
        Sleep(1);
    }
    return sightings;
}

void Tray() {
    TrayObserver tray(VigiloExe());
    {
        // Started by Wine's desktop shell, the companion may not take the foreground, and its
        // tray menu then stays open on a click beside it; Windows grants the foreground to a
        // tray icon's program on its click. So Zorvane starts it itself here, as where no
        // desktop shell answers; the install test covers the desktop shell's start.
        Context in("Zorvane.exe 1");
        KeepFromLoading("Zorvane.exe", "oleaut32");
        ChildProcess main(AppCommand("Zorvane.exe", "1"));
        int sightings = SightingsWhileStarting();
        Note("the companion's window was seen " + std::to_string(sightings) + " times");
        E2E_CHECK_EQ(sightings, 0);
        E2E_CHECK(main.WaitForExit(5000).has_value());
        ForgetWineSettings("Zorvane.exe");
    }
    HWND monitor = WaitForMonitorWindow();
    if (!E2E_CHECK(monitor != nullptr)) {
        return;
    }
    E2E_CHECK(!IsWindowVisible(monitor));
    DWORD process_id = 0;
    GetWindowThreadProcessId(monitor, &process_id);
    E2E_CHECK(WaitUntil([&] { return tray.IconWindows().size() == 1; }, 5000));
    CheckAnimation(tray, "probe host answering");
    SecondCopyEndsAtOnce(tray);
    ClicksStartMainAndPopUpMenu(tray, process_id);
    DisableShowsMessageOnceEnableNone(monitor, process_id);
    CheckAnimation(tray, "after the menu commands");
    ExitWithPingDialogOpen(tray, monitor, process_id);
    TerminateProcessesNamed("vigilo.exe");
}

// The longest any of the windows took over the time to answer a message that asks
// nothing; kAnswerLimitMs + 1 for one that did not answer within the limit.
constexpr DWORD kAnswerLimitMs = 200;

DWORD SlowestAnswer(const std::vector<HWND>& windows, DWORD duration_ms) {
    DWORD slowest = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < duration_ms; Sleep(50)) {
        for (HWND window : windows) {
            DWORD before = GetTickCount();
            DWORD_PTR result = 0;
            bool answered = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerLimitMs,
                                                &result) != 0;
            if (IsWindow(window)) {
                slowest =
                    std::max(slowest, answered ? GetTickCount() - before : kAnswerLimitMs + 1);
            }
        }
    }
    return slowest;
}

// Opens the Connection History window and the tray menu, and checks that they and the hidden
// window answer within kAnswerLimitMs: for MENU_MS with the menu open, then for AFTER_MS
// (named by SPAN, "over a probe period") with it closed. Returns the history window, open.
HWND CheckAnswersWithHistoryOpen(HWND monitor, DWORD process_id, const TrayObserver& tray,
                                 DWORD menu_ms, DWORD after_ms, const char* span) {
    PostMessageA(monitor, WM_COMMAND, ids::menu_history, 0);
    HWND history = WaitForWindow({process_id, "", "Connection History", true}, 3000);
    E2E_CHECK(history != nullptr);
    HWND menu = OpenTrayMenu(tray, process_id);
    E2E_CHECK(menu != nullptr);
    DWORD slowest = SlowestAnswer({monitor, history, menu}, menu_ms);
    Note("slowest answer with the menu open: " + std::to_string(slowest) + " ms");
    E2E_CHECK(slowest <= kAnswerLimitMs);
    CloseByClickingBeside(menu);
    slowest = SlowestAnswer({monitor, history}, after_ms);
    Note("slowest answer " + std::string(span) + ": " + std::to_string(slowest) + " ms");
    E2E_CHECK(slowest <= kAnswerLimitMs);
    return history;
}

// With the echo silent each probe waits out its 10 s timeout, on a thread of its own: the
// tray menu and the history window, opened during one, answer at once, through the next.
void AnswersDuringProbes(HWND monitor, DWORD process_id, const TrayObserver& tray) {
    Context in("tray menu and history window while probes wait");
    // The loss just seen is being checked by a second probe now, which waits 10 s: a window
    // held up by it would take that long. Two Wine sandboxes side by side on a busy machine
    // take more than a second to draw a window, so 3 s tell the two apart; the answer times
    // below are the strict measure. The 35 s after: long enough for the next probe on the
    // 30 s timer to start and time out.
    HWND history =
        CheckAnswersWithHistoryOpen(monitor, process_id, tray, 5000, 35000, "over a probe period");
    if (history != nullptr) {
        PostMessageA(history, WM_CLOSE, 0, 0);
        E2E_CHECK(WaitForWindowGone(history, 3000));
    }
}

void LinkLost() {
    TrayObserver tray(VigiloExe());
    ChildProcess vigilo(AppCommand("vigilo.exe"));
    HWND monitor = WaitForMonitorWindow();
    CheckAnimation(tray, "probe host answering");
    {
        Context in("echo replies off");
        E2E_CHECK(SetSandboxEcho(false));
        DWORD off = GetTickCount();
        // The next probe comes within 30 s and gives up 10 s later.
        E2E_CHECK(tray.WaitForImage(5, 45000));
        Note("image 5 " + std::to_string((GetTickCount() - off) / 1000) + " s after echo-off");
        TrayObserver::Timeline seen = tray.Watch(1500);
        E2E_CHECK_EQ(Join(seen.images), "5");
        RequestScreenshot("vigilo-not-connected");
    }
    AnswersDuringProbes(monitor, vigilo.id(), tray);
    ExitRemovesIconAndEnds(tray, monitor, vigilo);
}

// The lock every companion of this user takes for its log line, named as it names it.
HANDLE TakeTheLogLock() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    BYTE buffer[256];
    DWORD size = 0;
    char* sid = nullptr;
    GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
    ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid);
    CloseHandle(token);
    std::string name = std::string("Global\\Zorvane.Vigilo.Log.") + (sid ? sid : "");
    LocalFree(sid);
    HANDLE lock = CreateMutexA(nullptr, TRUE, name.c_str());
    Note("holding the log lock " + name + (lock ? "" : " failed"));
    return lock;
}

// The user's application data in a folder named outside the ANSI code page ("\u03a9" is
// Greek), as the shell names it to the companion: an ANSI path of it cannot be opened.
const wchar_t kAppDataOutsideTheCodePage[] = L"C:\\users\\\u03a9mega";
constexpr int kFileNameBox = 0x47c;  // cmb13, the file-name box of the save dialog

void MoveAppDataOutsideTheCodePage() {
    CreateDirectoryW(kAppDataOutsideTheCodePage, nullptr);
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER,
                    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                    0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExW(key, L"AppData", 0, REG_EXPAND_SZ,
                   reinterpret_cast<const BYTE*>(kAppDataOutsideTheCodePage),
                   sizeof kAppDataOutsideTheCodePage);
    RegCloseKey(key);
}

// The whole file, read by its wide name; empty when it is not there.
std::string ReadOutsideTheCodePage(const wchar_t* name) {
    std::wstring path = std::wstring(kAppDataOutsideTheCodePage) + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &read, nullptr) &&
           read > 0) {
        bytes.append(buffer, read);
    }
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    return bytes;
}

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Typed into the wide save dialog, the name outside the code page comes back whole: the
// CSV is there, a row per probe, each naming the host it went to.
void SaveHistoryOutsideTheCodePage(HWND history, DWORD process_id) {
    Context in("Save History As into the folder outside the code page");
    PostClick(history, zv::win32::frm_history::cmdSave);
    HWND dialog = WaitForWindow({process_id, "#32770", "Save History As", true}, 5000);
    if (!E2E_CHECK(dialog != nullptr)) {
        return;
    }
    std::wstring path = std::wstring(kAppDataOutsideTheCodePage) + L"\\history.csv";
    SendMessageW(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.c_str()));
    PostClick(dialog, IDOK);
    E2E_CHECK(WaitForWindowGone(dialog));
    std::string csv;
    WaitUntil([&] { return !(csv = ReadOutsideTheCodePage(L"history.csv")).empty(); }, 5000);
    std::istringstream rows(csv);
    std::string header;
    std::getline(rows, header);
    Note("header: " + header);
    E2E_CHECK_CONTAINS(header, "Host");
    int probes = 0;
    for (std::string row; std::getline(rows, row); ++probes) {
        E2E_CHECK_CONTAINS(row, "www.wikipedia.org");
    }
    E2E_CHECK(probes >= 1);
}

// Everything slow at once: each log line waits out the lock another companion holds, the
// keep-alive host's name is asked of name servers that never answer, and every echo of
// the probe is lost, so probes, confirmations and the search for the place run on. The
// tray menu and the history window answer at once through all of it, and at Exit the
// lines still queued have gone out, to a log folder named outside the ANSI code page,
// where Save History As can save too.
void AnswersAtOnce() {
    WriteWholeFile(AppDirectory() + "\\Ping.cfg",
                   "PingAutomatic,#FALSE#\r\nPingHost,keepalive.silent.test\r\n"
                   "PingInterval,1\r\nPingSound,#FALSE#\r\n");
    SetCompanionOption("LogFile", 1);
    MoveAppDataOutsideTheCodePage();
    TrayObserver tray(VigiloExe());
    ChildProcess vigilo(AppCommand("vigilo.exe"));
    HWND monitor = WaitForMonitorWindow();
    if (!E2E_CHECK(monitor != nullptr)) {
        return;
    }
    HANDLE lock = TakeTheLogLock();
    E2E_CHECK(SetSandboxEcho(false));
    PostMessageA(monitor, WM_COMMAND, ids::menu_ping_now, 0);
    {
        Context in("tray menu and history window opened during a probe, a log line and a ping");
        // Past the next probe and its log line, and the minute's keep-alive ping.
        CheckAnswersWithHistoryOpen(monitor, vigilo.id(), tray, 3000, 65000,
                                    "over two probe periods");
        ReleaseMutex(lock);
        CloseHandle(lock);
    }
    HWND history = FindTopLevelWindows({vigilo.id(), "", "Connection History", true}).front();
    SaveHistoryOutsideTheCodePage(history, vigilo.id());
    Context in("every probe logged by the time the companion has ended");
    std::string loss = WindowText(FindControl(history, zv::win32::frm_history::lblLoss));
    ExitRemovesIconAndEnds(tray, monitor, vigilo);
    int lines = Lines(ReadOutsideTheCodePage(L"Zorvane\\Vigilo.log"));
    Note(std::to_string(lines) + " log lines; " + loss);
    // A probe may have ended between the reading and Exit.
    std::smatch probes;
    if (E2E_CHECK(std::regex_search(loss, probes, std::regex(R"(lost probes? of (\d+))")))) {
        const int counted = std::stoi(probes[1]);
        E2E_CHECK_ONE_OF(lines, counted, counted + 1);
    }
}

void NoMainProgram() {
    TrayObserver tray(VigiloExe());
    DeleteFileA(MainExe().c_str());
    // A probe host an administrator stored as REG_EXPAND_SZ, read with the environment's
    // value in place: the companion inherits this process's environment.
    SetEnvironmentVariableA("ZV_PROBE_NAME", "probe.zorvane");
    SetCompanionOption("ProbeHost", "%ZV_PROBE_NAME%.test", REG_EXPAND_SZ);
    ChildProcess vigilo(AppCommand("vigilo.exe"));
    HWND monitor = WaitForMonitorWindow();
    {
        Context in("a probe host stored as REG_EXPAND_SZ");
        PostMessageA(monitor, WM_COMMAND, ids::menu_history, 0);
        HWND history = WaitForWindow({vigilo.id(), "", "Connection History", true}, 5000);
        if (E2E_CHECK(history != nullptr)) {
            E2E_CHECK_EQ(WindowText(FindControl(history, zv::win32::frm_history::txtHost)),
                         "probe.zorvane.test");
            PostMessageA(history, WM_CLOSE, 0, 0);
            E2E_CHECK(WaitForWindowGone(history, 3000));
        }
    }
    tray.WaitForImage(1, 5000);
    {
        Context in("left click without Zorvane.exe");
        ClickIcon(tray, false);
        auto box = WaitForMessageBox(vigilo.id(), 5000);
        if (E2E_CHECK(box.has_value())) {
            Note("message: " + Escape(box->text));
            E2E_CHECK_EQ(box->caption, "Vigilo");
            E2E_CHECK_CONTAINS(box->text, MainExe());
            RequestScreenshot("vigilo-no-main-program");
            E2E_CHECK(AnswerMessageBox(*box, IDOK));
        }
        E2E_CHECK(vigilo.IsRunning());
    }
    CheckAnimation(tray, "after the message");
    ExitRemovesIconAndEnds(tray, monitor, vigilo);
}

// The keep-alive host answers on loopback; the probe host is not mapped in this run, so
// every echo request the sandbox counts is a keep-alive ping.
void StaysDisabled() {
    WriteWholeFile(AppDirectory() + "\\Ping.cfg",
                   "PingAutomatic,#FALSE#\r\nPingHost,keepalive.zorvane.test\r\n"
                   "PingInterval,1\r\nPingSound,#FALSE#\r\n");
    ChildProcess vigilo(AppCommand("vigilo.exe"));
    HWND monitor = WaitForMonitorWindow();
    if (!E2E_CHECK(monitor != nullptr)) {
        return;
    }
    std::optional<long long> before = EchoRequestsReceived();
    {
        Context in("Ping Now reaches the keep-alive host");
        PostMessageA(monitor, WM_COMMAND, ids::menu_ping_now, 0);
        // One read after the echo has surely gone: reads in quick succession may meet the
        // sandbox's answer to the one before.
        Sleep(2000);
        std::optional<long long> after = EchoRequestsReceived();
        if (E2E_CHECK(before.has_value())) {
            E2E_CHECK_EQ(after, std::optional<long long>(*before + 1));
        }
        before = after;
    }
    DisableShowsMessageOnceEnableNone(monitor, vigilo.id());  // ends enabled
    PostMessageA(monitor, WM_COMMAND, ids::menu_disable, 0);
    if (auto box = WaitForMessageBox(vigilo.id(), 5000)) {
        AnswerMessageBox(*box, IDOK);
    }
    {
        Context in("ping dialog opened and cancelled after Disable");
        PostMessageA(monitor, WM_COMMAND, ids::menu_ping_configuration, 0);
        HWND dialog = WaitForWindow({vigilo.id(), "", "Ping Configuration", true}, 5000);
        E2E_CHECK(dialog != nullptr);
        PostMessageA(dialog, WM_COMMAND, zv::win32::frm_ping::cmdCancel, 0);
        E2E_CHECK(dialog == nullptr || WaitForWindowGone(dialog, 3000));
        // A re-armed one-minute timer would ping within 60 s.
        Sleep(65000);
        E2E_CHECK_EQ(EchoRequestsReceived(), before);
    }
    ExitRemovesIconAndEnds(TrayObserver(VigiloExe()), monitor, vigilo);
}

}  // namespace

int main(int argc, char** argv) {
    if (RunningAsMainProgram()) {
        return NoteStart();
    }
    return RunNamedScenario({{"tray", Tray},
                             {"link_lost", LinkLost},
                             {"answers_at_once", AnswersAtOnce},
                             {"no_main_program", NoMainProgram},
                             {"stays_disabled", StaysDisabled},
                             {"history", HistoryScenario},
                             {"record_survives", RecordScenario},
                             {"week", SpanScenario},
                             {"outage", "gateway|provider|host", OutageScenario},
                             {"tcp_fallback", TcpFallbackScenario},
                             {"portal", PortalScenario},
                             {"mute_gateway", MuteGatewayScenario},
                             {"name_lost", NameLostScenario},
                             {"outage_report", OutageReportScenario},
                             {"bloat", "bloated|managed", BloatScenario}},
                            argc, argv);
}
