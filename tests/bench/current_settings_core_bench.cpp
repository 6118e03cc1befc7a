// The Current Settings report (NT layout) through the Win32 registry port, against the
// bare registry reads of the same values written by hand, for 1, 10 and 100 interfaces:
// the ratio, and the time the real dialog takes to open (report read, list filled and
// painted) against the 100 ms it may take.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "fakes/registry_paths.h"
#include "sysconfig/current_settings_report.h"
#include "tuning/presets.h"
#include "win32/platform/win32_file_system.h"
#include "win32/platform/win32_registry.h"
#include "win32/ui/win_ports.h"
#include "win32/zorvane/zorvane_ids.h"
#include "win32/zorvane/current_settings_window.h"

namespace {

using namespace zv::test_keys;

constexpr zv::WindowsRelease kWindows10 = zv::WindowsRelease::Vista;

// Reads the values of one key with one open, as a programmer would; counts those found.
int ReadKey(const std::string& path, const std::vector<const char*>& names) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return 0;
    }
    int found = 0;
    for (const char* name : names) {
        BYTE data[64];
        DWORD size = sizeof(data);
        DWORD type = 0;
        found += RegQueryValueExA(key, name, nullptr, &type, data, &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return found;
}

int ReadByHand() {
    int found = ReadKey(kTcpip, {"GlobalMaxTcpWindowSize", "TcpWindowSize", "DefaultTTL",
                                 "KeepAliveTime", "KeepAliveInterval", "EnablePMTUDiscovery",
                                 "EnablePMTUBHDetect", "SYNAttackProtect"});
    found += ReadKey(kInternet, {"MaxConnectionsPer1_0Server", "MaxConnectionsPerServer"});
    zv::bench::ForEachSubkey(kInterfaces, [&](const std::string& subkey) {
        found += ReadKey(kInterfaces + "\\" + subkey, {"MTU", "MSS"});
        found += ReadKey(InterfaceService(subkey), {"MTU"});
    });
    return found + ReadKey(kNdiCache, {""});
}

double opened_at_ms = 0;

// A timer's message comes only once nothing else is waiting, painting included: the
// dialog is open and drawn. The dialog is closed at once.
void CALLBACK CloseWhenIdle(HWND, UINT, UINT_PTR timer, DWORD) {
    opened_at_ms = zv::bench::NowMs();
    KillTimer(nullptr, timer);
    HWND dialog = FindWindowA(zv::win32::frm_current_settings::kClassName, nullptr);
    SendMessageA(dialog, WM_COMMAND, zv::win32::frm_current_settings::cmdClose, 0);
}

// From the call to the dialog drawn, at least one timer tick (10 ms).
double OpenDialogMs(const zv::win32::CurrentSettingsServices& services) {
    double start = zv::bench::NowMs();
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseWhenIdle);
    zv::win32::CurrentSettingsWindow::ShowModal(nullptr, services);
    return opened_at_ms - start;
}

}  // namespace

int main() {
    size_t rows = 0;
    zv::TuningSettings settings = zv::InitialDefaultSettings();
    zv::ApplyPreset(settings, 3, kWindows10);
    zv::win32::Win32Registry registry;
    zv::bench::TimeForInterfaceCounts(
        "Current Settings report (NT layout) against the same reads by hand:", kInterfaces,
        [] { ReadByHand(); },
        [&] { rows = zv::CurrentSettingsReport(registry, kWindows10, settings).size(); },
        [&](int interfaces, const zv::bench::Medians& medians) {
            std::printf(
                "  %3d interfaces, %3zu rows: by hand %7.2f ms, report %7.2f ms (target < 100), "
                "ratio %.2f\n",
                interfaces, rows, medians.baseline_ms, medians.ours_ms,
                medians.ours_ms / medians.baseline_ms);
        });
    zv::win32::Win32FileSystem files;
    zv::win32::Win32MessageBox messages;
    zv::win32::CurrentSettingsServices services{
        [&] { return zv::CurrentSettingsReport(registry, kWindows10, settings); }, files, messages,
        ""};
    std::vector<double> opens;
    for (int run = 0; run < 11; ++run) {
        opens.push_back(OpenDialogMs(services));
    }
    std::printf("  the dialog with 100 interfaces: open and drawn in %.2f ms (target < 100)\n",
                zv::bench::Median(opens));
    return 0;
}
