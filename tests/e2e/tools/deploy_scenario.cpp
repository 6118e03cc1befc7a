// Apply, Undo and the export for deployment against the real registry: the export changes
// nothing; Apply from the window and then Zorvane.exe /undo give back the exact registry
// and Zorvane.cfg of before; the exported file imported with regedit gives exactly what
// Apply wrote, and its undo file the values of before; a damaged snapshot is refused.
#include <windows.h>

#include <string>
#include <vector>

#include "../main_window/scenarios.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "support/registry_read.h"
#include "tools_scenarios.h"
#include "win32/zorvane/frm_main_ids.h"

namespace zv::e2e {
namespace {

const HKEY kHklm = HKEY_LOCAL_MACHINE;
const char kServices[] = "SYSTEM\\CurrentControlSet\\Services";
const char kInternet[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Every key the program may touch, in either layout.
RegistrySnapshot Snapshot() {
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

// The values of `expected` are all back; keys the change made may stay, empty.
void CheckValuesBack(const RegistrySnapshot& expected, const RegistrySnapshot& actual) {
    RegistrySnapshot values_only = actual;
    for (const auto& [path, value] : actual) {
        if (!value && expected.count(path) == 0) {
            values_only.erase(path);
        }
    }
    CheckSame(expected, values_only);
}

std::optional<DWORD> RunZorvane(const std::string& arguments) {
    ChildProcess zorvane(AppCommand("Zorvane.exe", arguments), SW_HIDE);
    return zorvane.WaitForExit();
}

std::optional<DWORD> Import(const std::string& reg_file) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    ChildProcess regedit("\"" + std::string(windows) + "\\regedit.exe\" /s \"" + reg_file + "\"",
                         SW_HIDE);
    return regedit.WaitForExit();
}

void ApplyFromTheWindow() {
    ZorvaneSession z;
    if (!E2E_CHECK(z.ok())) {
        return;
    }
    z.PostClick(win32::frm_main::cmdApply);
    z.Answer(kAppliedText, IDOK);
    z.Answer(kRestartQuestion, IDNO);
    z.Answer(kRememberText, IDOK);
    E2E_CHECK(z.Close());
}

// A machine as a user has it: three interfaces, a hand-edited TTL and a saved choice.
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

}  // namespace

void RunDeployScenario(const ToolsRelease& release) {
    PrepareMachine(release);
    const std::string folder = AppDirectory();
    const std::string exported = folder + "\\deploy t1.reg";
    const std::string undo_file = folder + "\\deploy t1-undo.reg";
    const RegistrySnapshot before = Snapshot();
    const std::optional<std::string> settings_before = ReadWholeFile(SettingsFilePath());
    {
        Context in("export");
        E2E_CHECK_EQ(RunZorvane("/export \"" + exported + "\""), std::optional<DWORD>(0));
        std::optional<std::string> text = ReadWholeFile(exported);
        E2E_CHECK(text && text->find(release.reg_header + "\r\n") == 0);
        E2E_CHECK(FileIsPresent(undo_file));
        CheckSame(before, Snapshot());
    }
    RegistrySnapshot applied;
    {
        Context in("apply, then undo");
        ApplyFromTheWindow();
        applied = Snapshot();
        E2E_CHECK(!Differences(before, applied).empty());
        E2E_CHECK_EQ(RunZorvane("/undo"), std::optional<DWORD>(0));
        CheckSame(before, Snapshot());
        E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()), settings_before);
        E2E_CHECK_EQ(RunZorvane("/undo"), std::optional<DWORD>(1));  // nothing left to undo
    }
    {
        Context in("the export imported");
        E2E_CHECK_EQ(Import(exported), std::optional<DWORD>(0));
        CheckSame(applied, Snapshot());
        E2E_CHECK_EQ(Import(undo_file), std::optional<DWORD>(0));
        CheckValuesBack(before, Snapshot());
    }
    {
        Context in("damaged snapshot");
        const std::string damaged = folder + "\\Snapshots\\snapshot-000009.txt";
        E2E_CHECK(WriteWholeFile(damaged, "Zorvane snapshot 1\r\nvalue \"K\""));
        const RegistrySnapshot now = Snapshot();
        E2E_CHECK_EQ(RunZorvane("/undo"), std::optional<DWORD>(2));
        CheckSame(now, Snapshot());
        E2E_CHECK(FileIsPresent(damaged));
    }
}

}  // namespace zv::e2e
