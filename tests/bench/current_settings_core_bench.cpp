// The Current Settings report (NT layout) through the Win32 registry port, against the
// bare registry reads of the same values written by hand, for 1, 10 and 100 interfaces:
// the ratio, and the report's own time against the 100 ms the dialog may take to open.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "sysconfig/current_settings_report.h"
#include "tuning/presets.h"
#include "win32/platform/win32_registry.h"

namespace {

const char kTcpip[] = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
const char kInterfaces[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const char kInternet[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kNdiCache[] = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
constexpr zv::WindowsFamily kWindows10{8};

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
    HKEY interfaces;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kInterfaces, &interfaces) == ERROR_SUCCESS) {
        char name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = 255;
            if (RegEnumKeyExA(interfaces, index, name, &length, nullptr, nullptr, nullptr,
                              nullptr) != ERROR_SUCCESS) {
                break;
            }
            std::string subkey(name, length);
            found += ReadKey(std::string(kInterfaces) + "\\" + subkey, {"MTU", "MSS"});
            found += ReadKey(
                "SYSTEM\\CurrentControlSet\\Services\\" + subkey + "\\Parameters\\Tcpip", {"MTU"});
        }
        RegCloseKey(interfaces);
    }
    return found + ReadKey(kNdiCache, {""});
}

}  // namespace

int main() {
    zv::TuningSettings settings = zv::InitialDefaultSettings();
    zv::ApplyPreset(settings, 3, kWindows10);
    zv::win32::Win32Registry registry;
    std::printf("Current Settings report (NT layout) against the same reads by hand:\n");
    for (int interfaces : {1, 10, 100}) {
        // The first ones exist already: this adds the rest.
        zv::bench::MakeInterfaceKeys(kInterfaces, interfaces);
        size_t rows = 0;
        auto ours = [&] {
            rows =
                zv::CurrentSettingsReport(registry, kWindows10, zv::WindowsRelease::Vista, settings)
                    .size();
        };
        auto by_hand = [&] { ReadByHand(); };
        zv::bench::Medians medians = zv::bench::TimeInterleaved(by_hand, ours);
        double hand_ms = medians.baseline_ms;
        double ours_ms = medians.ours_ms;
        std::printf(
            "  %3d interfaces, %3zu rows: by hand %7.2f ms, report %7.2f ms (target < 100), "
            "ratio %.2f\n",
            interfaces, rows, hand_ms, ours_ms, ours_ms / hand_ms);
    }
    return 0;
}
