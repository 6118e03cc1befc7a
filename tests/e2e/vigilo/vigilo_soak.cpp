// The companion's soak check: runs vigilo.exe for a while with a probe host that keeps
// going silent and answering again, and prints its handle count, GDI and USER objects and
// private bytes at the start, every minute and at the end. It fails when the companion
// ended, never lost the link, or grew in handles, objects or memory.
//
//   vigilo_soak [MINUTES]     default 10
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/files.h"
#include "support/process.h"
#include "support/process_resources.h"
#include "support/sandbox_control.h"
#include "tray_observer.h"

using namespace zv::e2e;

namespace {

// The probe host answers for 60 s, then is silent for 45 s: each silent spell makes at
// least one probe fail, each answering spell at least one succeed.
constexpr DWORD kAnsweringMs = 60000;
constexpr DWORD kSilentMs = 45000;

void Print(const char* when, const ResourceUse& use) {
    std::printf("%-9s handles %lu, GDI objects %lu, USER objects %lu, private %.0f KiB\n", when,
                use.handles, use.gdi_objects, use.user_objects, use.private_kib);
    std::fflush(stdout);
}

struct Tally {
    int lost = 0;      // animation -> not-connected picture
    int regained = 0;  // not-connected picture -> animation
    double animating_ms = 0;
    int last = 0;
};

void Observe(const TrayObserver& tray, Tally& tally, DWORD duration_ms) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < duration_ms; Sleep(500)) {
        int image = tray.CurrentImage();
        bool animating = image >= 1 && image <= 4;
        tally.lost += image == 5 && tally.last >= 1 && tally.last <= 4;
        tally.regained += animating && tally.last == 5;
        tally.animating_ms += animating ? 500 : 0;
        tally.last = image != 0 ? image : tally.last;
    }
}

}  // namespace

int main(int argc, char** argv) {
    int minutes = argc > 1 ? std::atoi(argv[1]) : 10;
    TrayObserver tray(AppDirectory() + "\\vigilo.exe");
    ChildProcess vigilo(AppCommand("vigilo.exe"));
    if (!vigilo.started()) {
        std::printf("FAIL vigilo.exe could not be started\n");
        return 1;
    }
    Sleep(3000);
    ResourceUse first = MeasureProcess(vigilo.handle());
    if (first.gdi_objects == 0) {
        std::printf(
            "(GetGuiResources counts nothing under Wine: GDI and USER objects live in the\n"
            " process there, so a leak of them shows as growing private bytes)\n");
    }
    Print("start:", first);

    Tally tally;
    DWORD start = GetTickCount();
    DWORD next_report = 60000;
    bool answering = true;
    while (GetTickCount() - start < static_cast<DWORD>(minutes) * 60000) {
        Observe(tray, tally, answering ? kAnsweringMs : kSilentMs);
        answering = !answering;
        SetSandboxEcho(answering);
        if (GetTickCount() - start >= next_report) {
            char when[16];
            std::snprintf(when, sizeof when, "%.1f min:", (GetTickCount() - start) / 60000.0);
            Print(when, MeasureProcess(vigilo.handle()));
            next_report += 60000;
        }
    }
    ResourceUse last = MeasureProcess(vigilo.handle());
    bool alive = vigilo.IsRunning();
    Print("end:", last);
    std::printf("link lost %d times, regained %d times; about %.0f icon changes while animating\n",
                tally.lost, tally.regained, tally.animating_ms / 200.0);
    std::printf("still running: %s\n", alive ? "yes" : "no");
    bool steady = alive && tally.lost > 0 && last.handles <= first.handles + 2 &&
                  last.gdi_objects <= first.gdi_objects + 2 &&
                  last.private_kib <= first.private_kib + 512;
    std::printf("%s\n", steady ? "steady" : "NOT STEADY");
    return steady ? 0 : 1;
}
