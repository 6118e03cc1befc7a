#include "support/process_resources.h"

#include <psapi.h>

#include <vector>

namespace zv::e2e {
namespace {

double FileTimeMs(FILETIME t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
}

// The system-wide handle list (system information class 16), for Wine, whose
// GetProcessHandleCount reports 0.
DWORD HandlesInSystemList(DWORD process_id) {
    struct Entry {
        ULONG owner;
        BYTE type;
        BYTE flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 22);
    ULONG length = 0;
    if (query == nullptr ||
        query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &length) != 0) {
        return 0;
    }
    ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
    DWORD handles = 0;
    for (ULONG i = 0; i < count; ++i) {
        handles += entries[i].owner == process_id;
    }
    return handles;
}

}  // namespace

ResourceUse MeasureProcess(HANDLE process) {
    ResourceUse use;
    GetProcessHandleCount(process, &use.handles);
    if (use.handles == 0) {
        use.handles = HandlesInSystemList(GetProcessId(process));
    }
    use.gdi_objects = GetGuiResources(process, GR_GDIOBJECTS);
    use.user_objects = GetGuiResources(process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters))) {
        // Wine leaves PrivateUsage at 0; the page-file share is the same figure.
        SIZE_T bytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
        use.private_kib = static_cast<double>(bytes) / 1024.0;
    }
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        use.cpu_ms = FileTimeMs(kernel) + FileTimeMs(user);
    }
    return use;
}

}  // namespace zv::e2e
