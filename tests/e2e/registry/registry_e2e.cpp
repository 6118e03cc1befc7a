// Writes the TCP/IP parameters into the real registry of an emulated Windows release and
// reads every value back with advapi32: the release and its name, both layouts'
// values and removals, in the view the x86 build names under WOW64 too, and that writing
// changes nothing when it should not. It runs with the programs' manifest, as they do.
//
// usage: registry_e2e.exe win98|winxp|winxp64|win2003|win10
#include <windows.h>

#include <string>
#include <vector>

#include "fakes/registry_paths.h"
#include "fakes/settings_records.h"
#include "support/check.h"
#include "support/registry_read.h"
#include "support/scenario_runner.h"
#include "sysconfig/tcp_parameters.h"
#include "win32/platform/version_query.h"
#include "win32/platform/win32_registry.h"

namespace e2e = zv::e2e;
using zv::NotSet;
using zv::TuningSettings;
using zv::testing::RestoredSettings;

namespace {

using namespace zv::test_keys;

const HKEY kHklm = HKEY_LOCAL_MACHINE;

struct Row {
    std::string path;
    std::string name;
    std::optional<e2e::RegistryValue> value;  // nothing: the value must be absent
};

e2e::RegistryValue Dword(DWORD number) {
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4)};
}

std::optional<e2e::RegistryValue> DwordUnlessNotSet(int32_t number) {
    if (number == NotSet) {
        return std::nullopt;
    }
    return Dword(static_cast<DWORD>(number));
}

std::optional<e2e::RegistryValue> TextUnlessNotSet(int32_t number) {
    if (number == NotSet) {
        return std::nullopt;
    }
    return e2e::RegistryValue{REG_SZ, std::to_string(number) + '\0'};
}

int32_t Mss(int32_t mtu) {
    return mtu == NotSet ? NotSet : mtu - 40;
}

std::vector<Row> Win9xLayout(const TuningSettings& s, const std::vector<std::string>& transports) {
    std::vector<Row> rows = {
        {kMstcp, "DefaultRcvWindow", DwordUnlessNotSet(s.RWIN)},
        {kMstcp, "DefaultTTL", TextUnlessNotSet(s.TTL)},
        {kMstcp, "SessionKeepAlive", DwordUnlessNotSet(s.SKA)},
        {kMstcp, "PMTUDiscovery", Dword(s.PMTU ? 1 : 0)},
        {kMstcp, "PMTUBlackHoleDetect", Dword(s.BlackHole ? 1 : 0)},
        {kMstcp, "SYNAttackProtect", Dword(2)},
        {kInternet, "MaxConnectionsPer1_0Server", Dword(s.Http10Connections)},
        {kInternet, "MaxConnectionsPerServer", Dword(s.Http11Connections)},
        {kNdiCache, "", DwordUnlessNotSet(s.NDI)},
        {kTcpip, "GlobalMaxTcpWindowSize", std::nullopt},  // not the NT layout
    };
    for (const auto& transport : transports) {
        rows.push_back({kNetTrans + "\\" + transport, "MaxMTU", DwordUnlessNotSet(s.MTU)});
        rows.push_back({kNetTrans + "\\" + transport, "MaxMSS", DwordUnlessNotSet(Mss(s.MTU))});
    }
    return rows;
}

std::vector<Row> NtLayout(const TuningSettings& s, const std::vector<std::string>& interfaces) {
    std::vector<Row> rows = {
        {kTcpip, "GlobalMaxTcpWindowSize", DwordUnlessNotSet(s.RWIN)},
        {kTcpip, "TcpWindowSize", DwordUnlessNotSet(s.RWIN)},
        {kTcpip, "DefaultTTL", DwordUnlessNotSet(s.TTL)},
        {kTcpip, "KeepAliveTime", DwordUnlessNotSet(s.SKA)},
        {kTcpip, "KeepAliveInterval", Dword(1000)},
        {kTcpip, "EnablePMTUDiscovery", Dword(s.PMTU ? 1 : 0)},
        {kTcpip, "EnablePMTUBHDetect", Dword(s.BlackHole ? 1 : 0)},
        {kTcpip, "SYNAttackProtect", Dword(2)},
        {kInternet, "MaxConnectionsPer1_0Server", Dword(s.Http10Connections)},
        {kInternet, "MaxConnectionsPerServer", Dword(s.Http11Connections)},
        {kNdiCache, "", DwordUnlessNotSet(s.NDI)},
        {kMstcp, "DefaultRcvWindow", std::nullopt},  // not the Windows 9x layout
    };
    for (const auto& adapter : interfaces) {
        rows.push_back({kInterfaces + "\\" + adapter, "MTU", DwordUnlessNotSet(s.MTU)});
        rows.push_back({kInterfaces + "\\" + adapter, "MSS", DwordUnlessNotSet(Mss(s.MTU))});
        rows.push_back({InterfaceService(adapter), "MTU", DwordUnlessNotSet(s.MTU)});
    }
    return rows;
}

void CheckRows(const std::vector<Row>& rows) {
    for (const auto& row : rows) {
        e2e::Context in(row.path + "\\" + (row.name.empty() ? "(default)" : row.name));
        E2E_CHECK_EQ(e2e::ReadRegistryValue(kHklm, row.path, row.name), row.value);
    }
}

// Everything the writer may touch, in either layout.
e2e::RegistrySnapshot Snapshot() {
    e2e::RegistrySnapshot snapshot = e2e::SnapshotRegistry(kHklm, kServices);
    e2e::RegistrySnapshot internet = e2e::SnapshotRegistry(kHklm, kInternet);
    snapshot.insert(internet.begin(), internet.end());
    return snapshot;
}

void CheckUnchanged(const e2e::RegistrySnapshot& before) {
    auto differences = e2e::Differences(before, Snapshot());
    for (const auto& line : differences) {
        e2e::Note(line);
    }
    E2E_CHECK_EQ(differences.size(), 0u);
}

zv::WindowsVersion ExpectedVersion(const std::string& release) {
    struct Expected {
        const char* release;
        zv::WindowsRelease windows;
        const char* name;
    };
    // Windows XP x64 is release 5.2 like Windows 2003, under its own name.
    for (const Expected& e : {Expected{"win98", zv::WindowsRelease::Windows98, "Windows 98"},
                              Expected{"winxp", zv::WindowsRelease::WindowsXp, "Windows XP"},
                              Expected{"winxp64", zv::WindowsRelease::Windows2003, "Windows XP"},
                              Expected{"win2003", zv::WindowsRelease::Windows2003, "Windows 2003"},
                              Expected{"win10", zv::WindowsRelease::Vista, "Windows 10"}}) {
        if (release == e.release) {
            return {e.windows, e.name};
        }
    }
    // No release detected has this name, so the check below fails.
    return {zv::WindowsRelease::Unrecognised, "(unknown release " + release + ")"};
}

// What a Manual-mode Apply with every value custom writes.
TuningSettings CustomSettings() {
    TuningSettings s;
    s.OptimizationMode = zv::ManualMode;
    s.MTU = 1500;
    s.RWIN = 96000;
    s.TTL = 128;
    s.SKA = 600000;
    s.NDI = 32;
    s.PMTU = true;
    s.BlackHole = false;
    s.Http10Connections = 4;
    s.Http11Connections = 6;
    return s;
}

void WritesOn(const std::string& release) {
    e2e::Tally::Get().report_screen_on_first_failure = false;  // no windows here
    zv::WindowsVersion expected = ExpectedVersion(release);
    zv::WindowsVersion windows = zv::win32::DetectWindowsVersion();
    if (release == "win10") {
        // This driver carries the programs' manifest, whose supportedOS entries make
        // GetVersionExA tell the true release instead of 6.2; the mapping must still hold.
        OSVERSIONINFOA reported{};
        reported.dwOSVersionInfoSize = sizeof(reported);
        E2E_CHECK(GetVersionExA(&reported));
        E2E_CHECK_EQ(reported.dwMajorVersion, 10u);
    }
    E2E_CHECK(windows.release == expected.release);
    E2E_CHECK_EQ(windows.name, expected.name);

    bool nine_x = zv::PropertiesOf(windows.release).layout == zv::RegistryLayout::Win9x;
    const std::string& enumerated = nine_x ? kNetTrans : kInterfaces;
    for (const char* subkey : {"0000", "{7A3B1C2D-0001}", "Loopback"}) {
        E2E_CHECK(e2e::CreateRegistryKey(kHklm, enumerated + "\\" + subkey));
    }
    std::vector<std::string> subkeys = e2e::SubkeyNames(kHklm, enumerated);
    E2E_CHECK(subkeys.size() >= 3);
    auto layout = [&](const TuningSettings& s) {
        return nine_x ? Win9xLayout(s, subkeys) : NtLayout(s, subkeys);
    };

    zv::win32::Win32Registry registry;
    {
        e2e::Context in("custom values");
        E2E_CHECK(zv::WriteTcpParameters(registry, CustomSettings(), windows.release));
        CheckRows(layout(CustomSettings()));
    }
    {
        e2e::Context in("second write of the same values");
        auto before = Snapshot();
        E2E_CHECK(zv::WriteTcpParameters(registry, CustomSettings(), windows.release));
        CheckUnchanged(before);
    }
    {
        e2e::Context in("values left to Windows");
        E2E_CHECK(zv::WriteTcpParameters(registry, RestoredSettings(), windows.release));
        CheckRows(layout(RestoredSettings()));
    }
    {
        // The x86 build under WOW64 names the 64-bit view on every key; the real calls must
        // take that access, for creating and for enumerating keys alike.
        e2e::Context in("custom values, the 64-bit view named");
        zv::win32::Win32Registry named_view(zv::RegistryAccessFor(true));
        E2E_CHECK(zv::WriteTcpParameters(named_view, CustomSettings(), windows.release));
        CheckRows(layout(CustomSettings()));
    }
    {
        e2e::Context in("unrecognised release");
        auto before = Snapshot();
        E2E_CHECK(
            zv::WriteTcpParameters(registry, CustomSettings(), zv::WindowsRelease::Unrecognised));
        CheckUnchanged(before);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return e2e::RunNamedScenario({{"", "win98|winxp|winxp64|win2003|win10",
                                   [](const e2e::Arguments& words) {
                                       WritesOn(words.empty() ? "" : words[0]);
                                       return true;
                                   }}},
                                 argc, argv);
}
