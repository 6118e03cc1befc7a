// Apply, Undo and the export for deployment against the real registry: the export changes
// nothing and names no interface; Apply from the window and then Zorvane.exe /undo give
// back the exact registry and Zorvane.cfg of before, and so does /undo all after Restore and
// Apply; the exported file imported with regedit gives what Apply wrote but the interfaces'
// values (and on NT the 9x NDI cache key), and its undo file exactly the registry of before; a
// damaged snapshot, or one naming a value Zorvane does not write, is refused.
#include <windows.h>

#include <string>
#include <vector>

#include "fakes/registry_paths.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "support/registry_read.h"
#include "tools_scenarios.h"

namespace zv::e2e {
namespace {

using namespace test_keys;

// The values of `expected` are all back; keys the import made may stay, empty.
void CheckValuesBack(const RegistrySnapshot& expected, const RegistrySnapshot& actual) {
    RegistrySnapshot values_only = actual;
    for (const auto& [path, value] : actual) {
        if (!value && expected.count(path) == 0) {
            values_only.erase(path);
        }
    }
    CheckSame(expected, values_only);
}

// What Apply wrote, but each interface's values as they were before: the export leaves
// them to Zorvane.exe /apply on each computer. On NT it leaves out the NDI cache too, whose
// key only the 9x stack reads.
RegistrySnapshot WithInterfacesAsBefore(const RegistrySnapshot& applied,
                                        const RegistrySnapshot& before,
                                        const ToolsRelease& release) {
    auto per_interface = [&](std::string path) {
        CharLowerA(&path[0]);
        for (const char* name : {"0000", "{7a3b1c2d-0001}", "loopback"}) {
            for (std::string prefix :
                 {release.interfaces + "\\" + name,
                  "SYSTEM\\CurrentControlSet\\Services\\" + std::string(name)}) {
                CharLowerA(&prefix[0]);
                if (path.compare(0, prefix.size(), prefix) == 0) {
                    return true;
                }
            }
        }
        return false;
    };
    const bool nt = release.reg_header != "REGEDIT4";
    auto left_out = [&](const std::string& path) {
        std::string lower = path;
        CharLowerA(&lower[0]);
        return per_interface(path) ||
               (nt && lower.rfind("system\\currentcontrolset\\services\\vxd\\nwlink", 0) == 0);
    };
    RegistrySnapshot expected;
    for (const auto* from : {&applied, &before}) {
        for (const auto& [path, value] : *from) {
            if (left_out(path) == (from == &before)) {
                expected[path] = value;
            }
        }
    }
    return expected;
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
        E2E_CHECK_STARTS_WITH(text, release.reg_header + "\r\n");
        E2E_CHECK_CONTAINS(text, "Zorvane.exe /apply");
        E2E_CHECK_LACKS(text, "{7A3B1C2D-0001}");
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
        Context in("restore, apply, then undo all");
        E2E_CHECK_EQ(RunZorvane("/restore"), std::optional<DWORD>(0));
        ApplyFromTheWindow();
        E2E_CHECK_EQ(RunZorvane("/undo all"), std::optional<DWORD>(0));
        CheckSame(before, TouchedRegistry());
        E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()), settings_before);
    }
    {
        Context in("the export imported");
        E2E_CHECK_EQ(Import(exported), std::optional<DWORD>(0));
        CheckValuesBack(WithInterfacesAsBefore(applied, before, release), TouchedRegistry());
        E2E_CHECK_EQ(Import(undo_file), std::optional<DWORD>(0));
        CheckSame(before, TouchedRegistry());
    }
    const std::pair<const char*, const char*> refused[] = {
        {"damaged snapshot", "Zorvane snapshot 1\r\nvalue \"K\""},
        {"a snapshot naming a Run entry",
         "Zorvane snapshot 1\r\nvalue "
         "\"Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run\" "
         "\"Tool\" sz \"x.exe\"\r\nsettings absent\r\nend\r\n"},
    };
    for (const auto& [context, text] : refused) {
        Context in(context);
        const std::string damaged = folder + "\\Snapshots\\snapshot-000009.txt";
        E2E_CHECK(WriteWholeFile(damaged, text));
        const RegistrySnapshot now = TouchedRegistry();
        E2E_CHECK_EQ(RunZorvane("/undo"), std::optional<DWORD>(2));
        CheckSame(now, TouchedRegistry());
        E2E_CHECK(!ReadRegistryValue(HKEY_LOCAL_MACHINE, kRun, "Tool").has_value());
        E2E_CHECK(FileIsPresent(damaged));
    }
}

}  // namespace zv::e2e
