// Start-up time: from process start to a visible window, for Zorvane.exe against a minimal
// Win32 window program, alternating runs, medians and their ratio.
#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"

namespace {

std::string OwnDir() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\'));
}

// The tip of the day would come first; the window itself is what is measured.
void SwitchOffStartupTip() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zorvane\\Options", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Show Tips at Startup", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"),
                       2);
        RegCloseKey(key);
    }
}

double TimeToWindow(const std::string& program) {
    double start = zv::bench::NowMs();
    PROCESS_INFORMATION process = zv::bench::Start(program, "");
    double waited = zv::bench::WaitForVisibleWindow(process.dwProcessId, 10000);
    double elapsed = waited < 0 ? -1 : zv::bench::NowMs() - start;
    zv::bench::Stop(process);
    return elapsed;
}

}  // namespace

int main() {
    SwitchOffStartupTip();
    const std::string baseline = OwnDir() + "\\minimal_window.exe";
    const std::string zorvane = zv::bench::AppDir() + "\\Zorvane.exe";
    const int runs = 15;
    std::vector<double> baseline_ms, zorvane_ms;
    TimeToWindow(baseline);  // warms the wineserver and the file cache
    TimeToWindow(zorvane);
    for (int i = 0; i < runs; ++i) {
        baseline_ms.push_back(TimeToWindow(baseline));
        zorvane_ms.push_back(TimeToWindow(zorvane));
    }
    double base = zv::bench::Median(baseline_ms);
    double ours = zv::bench::Median(zorvane_ms);
    std::printf("start to visible window, median of %d runs:\n", runs);
    std::printf("  minimal Win32 window  %8.1f ms\n", base);
    std::printf("  Zorvane.exe           %8.1f ms\n", ours);
    std::printf("  ratio                 %8.2f (target <= 1.30)\n", base > 0 ? ours / base : 0);
    return 0;
}
