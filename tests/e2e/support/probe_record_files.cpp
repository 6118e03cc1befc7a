#include "support/probe_record_files.h"

#include <windows.h>
#include <shlobj.h>

#include "fakes/memory_store_files.h"
#include "monitor/probe_store.h"
#include "support/files.h"

namespace zv::e2e {

void WriteProbeRecord(const std::string& root, const monitor::Moment& start,
                      const std::vector<monitor::Probe>& probes) {
    testing::MemoryStoreFiles memory;
    memory.local_app_data = root;
    monitor::ProbeStore store(memory, 365);
    store.Open(start, 0);
    for (const monitor::Probe& probe : probes) {
        store.Append(probe);
    }
    CreateDirectoryA(root.c_str(), nullptr);
    for (const std::string& folder : memory.folders) {
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    for (const auto& [path, bytes] : memory.files) {
        WriteWholeFile(path, bytes);
    }
}

std::string LocalAppDataFolder() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

monitor::WallTime WallNow() {
    FILETIME utc;
    GetSystemTimeAsFileTime(&utc);
    ULONGLONG ticks = ULONGLONG{utc.dwHighDateTime} << 32 | utc.dwLowDateTime;
    TIME_ZONE_INFORMATION zone;
    DWORD kind = GetTimeZoneInformation(&zone);
    long bias = zone.Bias + (kind == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0);
    return {static_cast<int64_t>((ticks - 116444736000000000ULL) / 10000), static_cast<int>(-bias)};
}

}  // namespace zv::e2e
