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

namespace zv::e2e {
namespace {

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

}  // namespace

void RunDeployScenario(const ToolsRelease& release) {
    PrepareMachine(release);
    const std::string folder = AppDirectory();
    const std::string exported = folder + "\\deploy t1.reg";
    const std::string undo_file = folder + "\\deploy t1-undo.reg";
    const RegistrySnapshot before = TouchedRegistry();
    const std::optional<std::string> settings_before = ReadWholeFile(SettingsFilePath());
    {
        Context in("export");
        E2E_CHECK_EQ(RunZorvane("/export \"" + exported + "\""), std::optional<DWORD>(0));
        std::optional<std::string> text = ReadWholeFile(exported);
        E2E_CHECK(text && text->find(release.reg_header + "\r\n") == 0);
        E2E_CHECK(FileIsPresent(undo_file));
        CheckSame(before, TouchedRegistry());
    }
    RegistrySnapshot applied;
    {
        Context in("apply, then undo");
        ApplyFromTheWindow();
        applied = TouchedRegistry();
        E2E_CHECK(!Differences(before, applied).empty());
        E2E_CHECK_EQ(RunZorvane("/undo"), std::optional<DWORD>(0));
        CheckSame(before, TouchedRegistry());
        E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()), settings_before);
        E2E_CHECK_EQ(RunZorvane("/undo"), std::optional<DWORD>(1));  // nothing left to undo
    }
    {
        Context in("the export imported");
        E2E_CHECK_EQ(Import(exported), std::optional<DWORD>(0));
        CheckSame(applied, TouchedRegistry());
        E2E_CHECK_EQ(Import(undo_file), std::optional<DWORD>(0));
        CheckValuesBack(before, TouchedRegistry());
    }
    {
        Context in("damaged snapshot");
        const std::string damaged = folder + "\\Snapshots\\snapshot-000009.txt";
        E2E_CHECK(WriteWholeFile(damaged, "Zorvane snapshot 1\r\nvalue \"K\""));
        const RegistrySnapshot now = TouchedRegistry();
        E2E_CHECK_EQ(RunZorvane("/undo"), std::optional<DWORD>(2));
        CheckSame(now, TouchedRegistry());
        E2E_CHECK(FileIsPresent(damaged));
    }
}

}  // namespace zv::e2e
