#include "install/installed_copy.h"

#include <shlobj.h>

#include <vector>

#include "fakes/registry_paths.h"
#include "ping/ping_settings.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"

namespace zv::e2e {

std::string Installed(const std::string& name) {
    return AppDirectory() + "\\" + name;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string DefaultPingCfg() {
    ping::PingSettings defaults;
    ping::SetPingDefaults(defaults);
    return ping::FormatPingCfg(defaults);
}

void CheckShippedFiles(const std::string& built) {
    for (const char* file : kShippedFiles) {
        Context of(file);
        E2E_CHECK(ReadWholeFile(Installed(file)) == ReadWholeFile(built + "\\" + file));
    }
}

void CheckShortcuts(const std::string& folder) {
    for (const char* shortcut : kShortcutFiles) {
        Context of(shortcut);
        E2E_CHECK(FileIsPresent(folder + "\\" + shortcut));
    }
}

void CheckTexts(const std::string& key, std::initializer_list<RegistryText> texts) {
    for (const RegistryText& text : texts) {
        Context of(text.name);
        E2E_CHECK_EQ(ReadString(HKEY_LOCAL_MACHINE, key, text.name),
                     std::optional<std::string>(text.value));
    }
}

std::optional<DWORD> RunInstalled(const std::string& arguments) {
    ChildProcess zorvane(AppCommand("Zorvane.exe", arguments), SW_HIDE);
    return zorvane.WaitForExit();
}

RegistrySnapshot TcpipRegistry() {
    return SnapshotRegistry(HKEY_LOCAL_MACHINE, test_keys::kServices + "\\Tcpip");
}

void CheckTcpipRegistry(const RegistrySnapshot& expected) {
    std::vector<std::string> differences = Differences(expected, TcpipRegistry());
    for (const std::string& line : differences) {
        Note(line);
    }
    E2E_CHECK_EMPTY(differences);
}

std::string LogFolder() {
    return EnvironmentVariable("APPDATA") + "\\Zorvane";
}

// The companion's lasting record, which it makes at its first start.
std::string RecordFolder() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\Zorvane";
}

void LeaveUserTraces() {
    E2E_CHECK(CreateRegistryKey(HKEY_CURRENT_USER, test_keys::kOptions));
    CreateDirectoryA(LogFolder().c_str(), nullptr);
    E2E_CHECK(WriteWholeFile(LogFolder() + "\\Vigilo.log", "a line\r\n"));
    CreateDirectoryA(RecordFolder().c_str(), nullptr);
    E2E_CHECK(WriteWholeFile(RecordFolder() + "\\trace", "a record"));
}

void CheckNoUserTraces() {
    E2E_CHECK(!RegistryKeyExists(HKEY_CURRENT_USER, test_keys::kZorvane));
    E2E_CHECK(!FileIsPresent(LogFolder()));
    E2E_CHECK(!FileIsPresent(RecordFolder()));
}

bool WaitForChildrenOf(DWORD parent, DWORD timeout_ms) {
    std::vector<HANDLE> children;
    for (const PROCESSENTRY32& entry : RunningProcesses()) {
        if (entry.th32ParentProcessID == parent) {
            children.push_back(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
        }
    }
    bool ended = true;
    for (HANDLE child : children) {
        ended =
            child != nullptr && WaitForSingleObject(child, timeout_ms) == WAIT_OBJECT_0 && ended;
        if (child != nullptr) {
            CloseHandle(child);
        }
    }
    return ended;
}

}  // namespace zv::e2e
