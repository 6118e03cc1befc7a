// The companion's resident cost against a minimal tray program: private bytes at rest,
// processor time while its icon animates, and handle and GDI object counts over time.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_util.h"

namespace {

struct Sample {
    double private_mib = 0;
    DWORD handles = 0;
    DWORD gdi_objects = 0;
    double cpu_ms = 0;
};

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

Sample Measure(HANDLE process) {
    Sample sample;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters))) {
        sample.private_mib = static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0);
    }
    GetProcessHandleCount(process, &sample.handles);
    sample.gdi_objects = GetGuiResources(process, GR_GDIOBJECTS);
    sample.cpu_ms = CpuMs(process);
    return sample;
}

std::string OwnDir() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\'));
}

void Print(const char* name, const Sample& start, const Sample& end, double seconds) {
    std::printf(
        "  %-14s private %6.2f MiB -> %6.2f MiB, handles %3lu -> %3lu, GDI %3lu -> %3lu,"
        " cpu %.3f %% of a core\n",
        name, start.private_mib, end.private_mib, start.handles, end.handles, start.gdi_objects,
        end.gdi_objects, 100.0 * (end.cpu_ms - start.cpu_ms) / (seconds * 1000.0));
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 30;
    PROCESS_INFORMATION tray = zv::bench::Start(OwnDir() + "\\minimal_tray.exe", "");
    PROCESS_INFORMATION vigilo = zv::bench::Start(zv::bench::AppDir() + "\\vigilo.exe", "");
    Sleep(3000);  // both at rest; the companion has probed once
    Sample tray_start = Measure(tray.hProcess);
    Sample vigilo_start = Measure(vigilo.hProcess);
    Sleep(static_cast<DWORD>(seconds * 1000));
    Sample tray_end = Measure(tray.hProcess);
    Sample vigilo_end = Measure(vigilo.hProcess);
    std::printf("resident cost over %.0f s (probe host answering, icon animating):\n", seconds);
    Print("minimal tray", tray_start, tray_end, seconds);
    Print("vigilo.exe", vigilo_start, vigilo_end, seconds);
    std::printf("  private bytes above the minimal tray program: %.2f MiB (target <= 2)\n",
                vigilo_end.private_mib - tray_end.private_mib);
    zv::bench::Stop(tray);
    zv::bench::Stop(vigilo);
    return 0;
}
