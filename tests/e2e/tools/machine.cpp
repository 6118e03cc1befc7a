// What the Tools scenarios share: a machine prepared as a user has it, the part of the
// registry the program may touch, and an Apply from the window.
#include <windows.h>

#include <string>
#include <vector>

#include "fakes/registry_paths.h"
#include "support/check.h"
#include "support/files.h"
#include "tools_scenarios.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

using namespace test_keys;

const HKEY kHklm = HKEY_LOCAL_MACHINE;

}  // namespace

RegistrySnapshot TouchedRegistry() {
    RegistrySnapshot snapshot = SnapshotRegistry(kHklm, kServices);
    RegistrySnapshot internet = SnapshotRegistry(kHklm, kInternet);
    snapshot.insert(internet.begin(), internet.end());
    return snapshot;
}

bool CheckSame(const RegistrySnapshot& expected, const RegistrySnapshot& actual) {
    std::vector<std::string> differences = Differences(expected, actual);
    for (const std::string& line : differences) {
        Note(line);
    }
    return E2E_CHECK_EQ(differences.size(), 0u);
}

void ApplyIn(ZorvaneSession& zorvane) {
    zorvane.PostClick(win32::frm_main::cmdApply);
    zorvane.AnswerChangeMadeRestartLater(kAppliedText);
}

void ApplyFromTheWindow() {
    ZorvaneSession z;
    if (E2E_CHECK(z.ok())) {
        ApplyIn(z);
        E2E_CHECK(z.Close());
    }
}

void PrepareMachine(const ToolsRelease& release) {
    for (const char* subkey : {"0000", "{7A3B1C2D-0001}", "Loopback"}) {
        E2E_CHECK(CreateRegistryKey(kHklm, release.interfaces + "\\" + subkey));
    }
    HKEY key = nullptr;
    E2E_CHECK_EQ(RegCreateKeyExA(kHklm, release.ttl_key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, &key, nullptr),
                 ERROR_SUCCESS);
    E2E_CHECK_EQ(
        RegSetValueExA(key, "DefaultTTL", 0, REG_SZ, reinterpret_cast<const BYTE*>("64"), 3),
        ERROR_SUCCESS);
    RegCloseKey(key);
    E2E_CHECK(WriteWholeFile(SettingsFilePath(), "ConnectionType,4\r\nOptiMode,0\r\n"));
}

}  // namespace zv::e2e
