// The companion's soak check: runs vigilo.exe for a while with a probe host that keeps
// going silent and answering again, first with the connection history window closed, then
// with it open (and resized now and then, so that it redraws), and prints its handle
// count, GDI and USER objects and private bytes at the start and end of each half and
// every minute. It fails when the companion ended, never lost the link, or grew in
// handles, objects or memory in either half.
//
//   vigilo_soak [MINUTES]     default 10
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/companion.h"
#include "support/files.h"
#include "support/process.h"
#include "support/process_resources.h"
#include "support/sandbox_control.h"
#include "support/screen.h"
#include "support/windows_on_screen.h"
#include "support/tray_observer.h"
#include "win32/vigilo/vigilo_ids.h"

using namespace zv::e2e;

namespace {

// The probe host answers for 60 s, then is silent for 45 s: each silent spell makes at
// least one probe fail, each answering spell at least one succeed.
constexpr DWORD kAnsweringMs = 60000;
constexpr DWORD kSilentMs = 45000;
constexpr DWORD kResizeEveryMs = 5000;

void Print(const std::string& when, const ResourceUse& use) {
    std::printf("%-22s handles %lu, GDI objects %lu, USER objects %lu, private %.0f KiB\n",
                when.c_str(), use.handles, use.gdi_objects, use.user_objects, use.private_kib);
    std::fflush(stdout);
}

bool Steady(const ResourceUse& first, const ResourceUse& last) {
    return last.handles <= first.handles + 2 && last.gdi_objects <= first.gdi_objects + 2 &&
           last.private_kib <= first.private_kib + 512;
}

struct Tally {
    int lost = 0;      // animation -> not-connected picture
    int regained = 0;  // not-connected picture -> animation
    int last = 0;
};

// Watches the icon in steps of half a second; the history window, when given, changes
// its size every few seconds.
void Observe(const TrayObserver& tray, Tally& tally, DWORD duration_ms, HWND history) {
    DWORD start = GetTickCount();
    for (DWORD step = 0; GetTickCount() - start < duration_ms; ++step, Sleep(500)) {
        int image = tray.CurrentImage();
        bool animating = image >= 1 && image <= 4;
        tally.lost += image == 5 && tally.last >= 1 && tally.last <= 4;
        tally.regained += animating && tally.last == 5;
        tally.last = image != 0 ? image : tally.last;
        if (history != nullptr && step % (kResizeEveryMs / 500) == 0) {
            int wider = static_cast<int>(step / (kResizeEveryMs / 500) % 2) * 160;
            SetWindowPos(history, nullptr, 0, 0, 660 + wider, 480 + wider / 2,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

// One half of the run: the host flaps for the given time, with the figures every minute.
ResourceUse Flap(const TrayObserver& tray, ChildProcess& vigilo, Tally& tally, DWORD duration_ms,
                 HWND history, const char* half) {
    DWORD start = GetTickCount();
    DWORD next_report = 60000;
    bool answering = true;
    while (GetTickCount() - start < duration_ms) {
        DWORD left = duration_ms - (GetTickCount() - start);
        DWORD spell = answering ? kAnsweringMs : kSilentMs;
        Observe(tray, tally, spell < left ? spell : left, history);
        answering = !answering;
        SetSandboxEcho(answering);
        if (GetTickCount() - start >= next_report) {
            char when[40];
            std::snprintf(when, sizeof when, "%s %.1f min:", half,
                          (GetTickCount() - start) / 60000.0);
            Print(when, MeasureProcess(vigilo.handle()));
            next_report += 60000;
        }
    }
    SetSandboxEcho(true);
    return MeasureProcess(vigilo.handle());
}

}  // namespace

int main(int argc, char** argv) {
    int minutes = argc > 1 ? std::atoi(argv[1]) : 10;
    DWORD half_ms = static_cast<DWORD>(minutes) * 30000;
    TrayObserver tray(VigiloExe());
    ChildProcess vigilo(AppCommand("vigilo.exe"));
    HWND monitor = WaitForMonitorWindow();
    if (!vigilo.started() || monitor == nullptr) {
        std::printf("FAIL vigilo.exe could not be started\n");
        return 1;
    }
    Sleep(3000);
    ResourceUse closed_start = MeasureProcess(vigilo.handle());
    if (closed_start.gdi_objects == 0) {
        std::printf(
            "(GetGuiResources counts nothing under Wine: GDI and USER objects live in the\n"
            " process there, so a leak of them shows as growing private bytes)\n");
    }
    Print("window closed, start:", closed_start);
    Tally tally;
    ResourceUse closed_end = Flap(tray, vigilo, tally, half_ms, nullptr, "closed");
    Print("window closed, end:", closed_end);

    PostMessageA(monitor, WM_COMMAND, zv::win32::frm_vigilo::menu_history, 0);
    HWND history = WaitForWindow({0, zv::win32::frm_history::kClassName, "", true});
    Sleep(3000);
    ResourceUse open_start = MeasureProcess(vigilo.handle());
    Print("window open, start:", open_start);
    ResourceUse open_end = Flap(tray, vigilo, tally, half_ms, history, "open");
    Print("window open, end:", open_end);
    SetWindowPos(history, nullptr, 0, 0, 660, 480, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(1000);
    RequestScreenshot("vigilo-history-soak");
    PostMessageA(history, WM_COMMAND, zv::win32::frm_history::cmdClose, 0);
    Sleep(2000);
    Print("window closed again:", MeasureProcess(vigilo.handle()));

    bool alive = vigilo.IsRunning();
    std::printf("link lost %d times, regained %d times; history window %s\n", tally.lost,
                tally.regained, history != nullptr ? "opened" : "NOT OPENED");
    std::printf("still running: %s\n", alive ? "yes" : "no");
    bool steady = alive && tally.lost > 0 && history != nullptr &&
                  Steady(closed_start, closed_end) && Steady(open_start, open_end);
    std::printf("%s\n", steady ? "steady" : "NOT STEADY");
    return steady ? 0 : 1;
}
