// The companion's soak check: runs vigilo.exe for a while with a probe host that keeps
// going away and coming back, and prints its handle count, GDI and USER objects and
// private bytes at the start, every minute and at the end. Not a test with a verdict of
// its own beyond "still running, no growth": the figures are for a human to read.
//
//   vigilo_soak [MINUTES]     default 10
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "driver_support.h"
#include "tray_observer.h"

using namespace zv::e2e;

namespace {

// The probe host answers for 60 s, then is silent for 45 s: each silent spell makes at
// least one probe fail, each answering spell at least one succeed.
constexpr DWORD kAnsweringMs = 60000;
constexpr DWORD kSilentMs = 45000;

struct Tally {
    int lost = 0;      // animation -> not-connected picture
    int regained = 0;  // not-connected picture -> animation
    double animating_ms = 0;
    int last = 0;
};

void Observe(const TrayObserver& tray, Tally& tally, DWORD duration_ms) {
    for (double start = NowMs(); NowMs() - start < duration_ms;) {
        int image = tray.CurrentImage();
        if (image == 5 && tally.last >= 1 && tally.last <= 4) {
            ++tally.lost;
        } else if (image >= 1 && image <= 4 && tally.last == 5) {
            ++tally.regained;
        }
        if (image >= 1 && image <= 4) {
            tally.animating_ms += 500;
        }
        tally.last = image != 0 ? image : tally.last;
        Sleep(500);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int minutes = argc > 1 ? std::atoi(argv[1]) : 10;
    std::string exe = AppDir() + "\\vigilo.exe";
    TrayObserver tray(exe);
    PROCESS_INFORMATION vigilo = StartProgram(exe);
    if (vigilo.hProcess == nullptr) {
        std::printf("FAIL vigilo.exe could not be started\n");
        return 1;
    }
    Sleep(3000);
    ResourceUse first = MeasureProcess(vigilo.hProcess);
    if (first.gdi_objects == 0) {
        std::printf(
            "(GetGuiResources counts nothing under Wine: GDI and USER objects live in the\n"
            " process there, so a leak of them shows as growing private bytes)\n");
    }
    std::printf("start:   %s\n", Describe(first).c_str());
    std::fflush(stdout);

    Tally tally;
    double start = NowMs();
    double next_report = 60000;
    bool answering = true;
    while (NowMs() - start < minutes * 60000.0) {
        Observe(tray, tally, answering ? kAnsweringMs : kSilentMs);
        answering = !answering;
        SandboxRequest(answering ? "echo-on" : "echo-off");
        if (NowMs() - start >= next_report) {
            std::printf("%5.1f min: %s\n", (NowMs() - start) / 60000.0,
                        Describe(MeasureProcess(vigilo.hProcess)).c_str());
            std::fflush(stdout);
            next_report += 60000;
        }
    }
    ResourceUse last = MeasureProcess(vigilo.hProcess);
    bool alive = WaitForSingleObject(vigilo.hProcess, 0) == WAIT_TIMEOUT;
    std::printf("end:     %s\n", Describe(last).c_str());
    std::printf("link lost %d times, regained %d times; about %.0f icon changes while animating\n",
                tally.lost, tally.regained, tally.animating_ms / 200.0);
    std::printf("still running: %s\n", alive ? "yes" : "no");
    EndProgram(vigilo);
    bool steady = alive && last.handles <= first.handles + 2 &&
                  last.gdi_objects <= first.gdi_objects + 2 &&
                  last.private_kib <= first.private_kib + 512 && tally.lost > 0;
    std::printf("%s\n", steady ? "steady" : "NOT STEADY");
    return steady ? 0 : 1;
}
