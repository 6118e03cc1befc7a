// WriteTcpParameters (NT layout) through the Win32 registry port, against the same
// registry calls written by hand, for 1, 10 and 100 interfaces: the ratio, and the time
// per interface to show that the cost grows linearly.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_util.h"
#include "fakes/registry_paths.h"
#include "sysconfig/tcp_parameters.h"
#include "tuning/presets.h"
#include "win32/platform/win32_registry.h"

namespace {

using namespace zv::test_keys;

constexpr zv::WindowsRelease kWindowsXp = zv::WindowsRelease::WindowsXp;

void SetDword(const std::string& path, const char* name, DWORD value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, 0x3F, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
        RegCloseKey(key);
    }
}

// The rows of the NT layout as a programmer would write them out, call for call.
void WriteByHand(const zv::TuningSettings& s) {
    SetDword(kTcpip, "GlobalMaxTcpWindowSize", static_cast<DWORD>(s.RWIN));
    SetDword(kTcpip, "TcpWindowSize", static_cast<DWORD>(s.RWIN));
    SetDword(kTcpip, "DefaultTTL", static_cast<DWORD>(s.TTL));
    SetDword(kTcpip, "KeepAliveTime", static_cast<DWORD>(s.SKA));
    SetDword(kTcpip, "KeepAliveInterval", 1000);
    SetDword(kTcpip, "EnablePMTUDiscovery", s.PMTU ? 1 : 0);
    SetDword(kTcpip, "EnablePMTUBHDetect", s.BlackHole ? 1 : 0);
    SetDword(kTcpip, "SYNAttackProtect", 2);
    SetDword(kInternet, "MaxConnectionsPer1_0Server", static_cast<DWORD>(s.Http10Connections));
    SetDword(kInternet, "MaxConnectionsPerServer", static_cast<DWORD>(s.Http11Connections));
    zv::bench::ForEachSubkey(kInterfaces, [&](const std::string& subkey) {
        SetDword(kInterfaces + "\\" + subkey, "MTU", static_cast<DWORD>(s.MTU));
        SetDword(kInterfaces + "\\" + subkey, "MSS", static_cast<DWORD>(s.MTU - 40));
        SetDword(InterfaceService(subkey), "MTU", static_cast<DWORD>(s.MTU));
    });
    SetDword(kNdiCache, "", static_cast<DWORD>(s.NDI));
}

}  // namespace

int main() {
    zv::TuningSettings settings = zv::InitialDefaultSettings();
    zv::ApplyPreset(settings, 3, kWindowsXp);
    zv::win32::Win32Registry registry;
    zv::bench::TimeForInterfaceCounts(
        "WriteTcpParameters (NT layout) against the same calls by hand:", kInterfaces,
        [&] { WriteByHand(settings); },
        [&] { zv::WriteTcpParameters(registry, settings, kWindowsXp); },
        [](int interfaces, const zv::bench::Medians& medians) {
            std::printf(
                "  %3d interfaces: by hand %7.2f ms, WriteTcpParameters %7.2f ms, "
                "ratio %.2f (target <= 1.10), %.3f ms per interface\n",
                interfaces, medians.baseline_ms, medians.ours_ms,
                medians.ours_ms / medians.baseline_ms, medians.ours_ms / interfaces);
        });
    return 0;
}
