// The companion's record of the link, end to end: the probe host answers, goes silent and
// answers again; the tray tip follows, the history window shows the drop (read back from
// the pixels of its loss marks on the screen), the log holds one line per probe, nothing
// is probed while the computer sleeps and the wake holds the next probe back for 15 s.
// Wine does not sleep: the test sends the window the messages Windows would. The host is on
// loopback, with no gateway before it, so its outage is put down to the user's own network.
#include "history_scenario.h"

#include <windows.h>

#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/companion.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "support/sandbox_control.h"
#include "support/screen.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "support/tray_observer.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::e2e {
namespace {

namespace hid = zv::win32::frm_history;

// "Loss: 33% (2 lost probes of 6), ..." -> 6
int ProbesInLossLine(const std::string& line) {
    std::smatch match;
    return std::regex_search(line, match, std::regex(R"(lost probes? of (\d+))"))
               ? std::stoi(match[1])
               : -1;
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
        R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d www\.wikipedia\.org (\d+ ms|lost \(your network\)))"
        R"(; loss \d+% \(10 min\) \d+% \(1 h\)(; jitter \d+ ms)?(; 95th percentile \d+ ms)?\r)");
    int count = 0;
    int lost = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        if (!E2E_CHECK(std::regex_match(line, kLine))) {
            Note("log line: " + line);
        }
        lost += line.find(" lost") != std::string::npos;
    }
    Note(std::to_string(count) + " lines, " + std::to_string(lost) + " lost; " + after);
    E2E_CHECK_EQ(count, ProbesInLossLine(after));
    E2E_CHECK(lost >= 1);
}

void SendPowerEvent(HWND monitor, WPARAM event) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(monitor, WM_POWERBROADCAST, event, 0, SMTO_NORMAL, 1000, &result);
}

// Asleep, no probe goes out; after the wake the next waits 15 s for the network adapter,
// however soon the probe timer would have come: the sleep is told right after a probe.
void SleepHoldsTheProbesBack(HWND monitor, HWND history) {
    Context in("sleep and wake");
    HWND loss = FindControl(history, hid::lblLoss);
    auto probes = [&] { return ProbesInLossLine(WindowText(loss)); };
    int before = probes();
    E2E_CHECK(WaitUntil([&] { return probes() != before; }, 35000));
    SendPowerEvent(monitor, PBT_APMSUSPEND);
    before = probes();
    Sleep(35000);  // past the probe that was due 30 s after the last
    Note(std::to_string(probes() - before) + " probes while asleep");
    E2E_CHECK_EQ(probes(), before);
    DWORD woke = GetTickCount();
    SendPowerEvent(monitor, PBT_APMRESUMEAUTOMATIC);
    E2E_CHECK(WaitUntil([&] { return probes() != before; }, 35000));
    DWORD waited = GetTickCount() - woke;
    Note("the first probe after the wake came " + std::to_string(waited) + " ms after it");
    E2E_CHECK_BETWEEN(waited, 14000u, 18000u);
}

}  // namespace

void HistoryScenario() {
    SetCompanionOption("LogFile", 1);
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
        CheckTrayTip(tray, R"(Zorvane - connected, \d+ ms, loss 0% \(10 min\) 0% \(1 h\).*)",
                     "vigilo-tip", 5000);
    }
    {
        Context in("echo replies off");
        E2E_CHECK(SetSandboxEcho(false));
        E2E_CHECK(tray.WaitForImage(5, 45000));
        CheckTrayTip(tray, R"(Zorvane - not connected since \d\d:\d\d \(your network\))",
                     "vigilo-tip-not-connected", 5000);
        Sleep(8000);  // the confirming probe goes out 5 s after the first loss ended
    }
    {
        Context in("echo replies on again");
        E2E_CHECK(SetSandboxEcho(true));
        E2E_CHECK(
            WaitUntil([&] { return tray.CurrentImage() >= 1 && tray.CurrentImage() <= 4; }, 45000));
    }
    Context in("history window");
    PostMessageA(monitor, WM_COMMAND, zv::win32::frm_vigilo::menu_history, 0);
    HWND history = WaitForWindow({vigilo.id(), hid::kClassName, "Connection History", true});
    if (!E2E_CHECK(history != nullptr)) {
        return;
    }
    SetCursorPos(0, 0);  // no tip over the window
    Sleep(1000);
    ColourCount losses = CountOnScreen(history, hid::kLossColor);
    long down = OutageBandColumns(history, hid::kYourNetworkColor, hid::kYourProviderColor);
    Note("loss marks: " + std::to_string(losses.columns) + " columns, " +
         std::to_string(losses.pixels) + " pixels; down period: " + std::to_string(down) +
         " columns");
    E2E_CHECK(losses.columns >= 1);
    E2E_CHECK(losses.pixels >= 20);
    E2E_CHECK(down >= 1);
    E2E_CHECK(CountOnScreen(history, hid::kRoundTripColor).pixels > 0);
    Note(WindowText(FindControl(history, hid::lblRoundTrip)));
    RequestScreenshot("vigilo-history");
    CheckLog(history);
    SleepHoldsTheProbesBack(monitor, history);

    PostMessageA(history, WM_COMMAND, hid::cmdClose, 0);
    E2E_CHECK(WaitForWindowGone(history, 3000));
    ExitRemovesIconAndEnds(tray, monitor, vigilo);
}

}  // namespace zv::e2e
