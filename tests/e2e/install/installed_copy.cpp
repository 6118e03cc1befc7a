#include "install/installed_copy.h"

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

std::optional<DWORD> RunInstalled(const std::string& arguments) {
    ChildProcess zorvane(AppCommand("Zorvane.exe", arguments), SW_HIDE);
    return zorvane.WaitForExit();
}

RegistrySnapshot TcpipRegistry() {
    return SnapshotRegistry(HKEY_LOCAL_MACHINE, test_keys::kServices + "\\Tcpip");
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
