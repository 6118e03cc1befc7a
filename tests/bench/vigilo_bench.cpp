// The companion's resident cost against a minimal tray program: private bytes at rest,
// processor time while its icon animates, and handle counts over the run. With "busy", on
// the sandbox's shaped link, iperf3 fills the link meanwhile: the cost of the passive watch
// of the load, with an extra probe every 5 s.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_util.h"
#include "support/linux_tools.h"
#include "support/process_resources.h"

namespace {

using zv::e2e::ResourceUse;

std::string OwnDir() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\'));
}

void Print(const char* name, const ResourceUse& start, const ResourceUse& end, double seconds) {
    std::printf(
        "  %-13s private %7.0f KiB -> %7.0f KiB, handles %3lu -> %3lu, "
        "cpu %.3f %% of a core\n",
        name, start.private_kib, end.private_kib, start.handles, end.handles,
        100.0 * (end.cpu_ms - start.cpu_ms) / (seconds * 1000.0));
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 30;
    bool busy = argc > 2 && std::string(argv[2]) == "busy";
    PROCESS_INFORMATION tray = zv::bench::Start(OwnDir() + "\\minimal_tray.exe", "");
    PROCESS_INFORMATION worker = zv::bench::Start(OwnDir() + "\\minimal_tray.exe", "worker");
    PROCESS_INFORMATION vigilo = zv::bench::Start(zv::bench::AppDir() + "\\vigilo.exe", "");
    if (busy) {
        // Its second probe, 30 s after the first, finds the link busy.
        zv::e2e::StartLinkLoad(zv::e2e::LinkDirection::kDown, static_cast<int>(seconds) + 45);
        Sleep(36000);
    } else {
        Sleep(3000);  // both at rest; the companion has probed once and animates
    }
    ResourceUse tray_start = zv::e2e::MeasureProcess(tray.hProcess);
    ResourceUse worker_start = zv::e2e::MeasureProcess(worker.hProcess);
    ResourceUse vigilo_start = zv::e2e::MeasureProcess(vigilo.hProcess);
    Sleep(static_cast<DWORD>(seconds * 1000));
    ResourceUse tray_end = zv::e2e::MeasureProcess(tray.hProcess);
    ResourceUse worker_end = zv::e2e::MeasureProcess(worker.hProcess);
    ResourceUse vigilo_end = zv::e2e::MeasureProcess(vigilo.hProcess);
    std::printf("resident cost over %.0f s (probe host answering, icon animating%s):\n", seconds,
                busy ? ", the link busy: extra probes every 5 s" : "");
    Print("minimal tray", tray_start, tray_end, seconds);
    Print("  + worker", worker_start, worker_end, seconds);
    Print("vigilo.exe", vigilo_start, vigilo_end, seconds);
    std::printf("  private bytes above the minimal tray program: %.2f MiB (for reference)\n",
                (vigilo_end.private_kib - tray_end.private_kib) / 1024.0);
    std::printf(
        "  of which a probe thread costs under Wine: %.2f MiB; above that: %.2f MiB "
        "(target <= 0.3)\n",
        (worker_end.private_kib - tray_end.private_kib) / 1024.0,
        (vigilo_end.private_kib - worker_end.private_kib) / 1024.0);
    std::printf("  processor time of vigilo.exe: %.3f %% of a core (target <= 0.2)\n",
                100.0 * (vigilo_end.cpu_ms - vigilo_start.cpu_ms) / (seconds * 1000.0));
    zv::bench::Stop(tray);
    zv::bench::Stop(worker);
    zv::bench::Stop(vigilo);
    return 0;
}
