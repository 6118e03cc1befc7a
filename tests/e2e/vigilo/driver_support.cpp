#include "driver_support.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>

namespace zv::e2e {

bool Checks::Expect(bool ok, const std::string& what, const std::string& actual) {
    std::printf("%s %s (saw: %s)\n", ok ? "ok  " : "FAIL", what.c_str(), actual.c_str());
    std::fflush(stdout);
    ++(ok ? passed_ : failed_);
    return ok;
}

int Checks::Finish() const {
    std::printf("%d passed, %d failed\n", passed_, failed_);
    std::fflush(stdout);
    return failed_ == 0 ? 0 : 1;
}

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string AppDir() {
    const char* dir = std::getenv("ZV_APP_DIR");
    return dir != nullptr ? dir : ".";
}

bool SandboxRequest(const std::string& name, DWORD limit_ms) {
    const char* ctl = std::getenv("ZV_CTL_DIR");
    if (ctl == nullptr) {
        return false;
    }
    std::string base = std::string(ctl) + "\\" + name;
    DeleteFileA((base + ".done").c_str());
    HANDLE file = CreateFileA((base + ".req").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    for (DWORD waited = 0; waited < limit_ms; waited += 50) {
        if (GetFileAttributesA((base + ".done").c_str()) != INVALID_FILE_ATTRIBUTES) {
            DeleteFileA((base + ".done").c_str());
            return true;
        }
        Sleep(50);
    }
    return false;
}

PROCESS_INFORMATION StartProgram(const std::string& path, const std::string& arguments) {
    std::string command = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        process = PROCESS_INFORMATION{};
    }
    return process;
}

void EndProgram(PROCESS_INFORMATION& process) {
    if (process.hProcess != nullptr) {
        if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 0);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    process = PROCESS_INFORMATION{};
}

bool WaitForExit(const PROCESS_INFORMATION& process, DWORD limit_ms) {
    return process.hProcess != nullptr &&
           WaitForSingleObject(process.hProcess, limit_ms) == WAIT_OBJECT_0;
}

std::string ClassOf(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd) {
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, 512);
    char ansi[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}

DWORD ProcessOf(HWND hwnd) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(hwnd, &process_id);
    return process_id;
}

namespace {

struct Search {
    DWORD process_id;
    const std::string& window_class;
    const std::string& caption;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if ((search->process_id == 0 || ProcessOf(hwnd) == search->process_id) &&
        (search->window_class.empty() || ClassOf(hwnd) == search->window_class) &&
        (search->caption.empty() || TextOf(hwnd) == search->caption)) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> FindTopWindows(DWORD process_id, const std::string& window_class,
                                 const std::string& caption) {
    Search search{process_id, window_class, caption, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD process_id, const std::string& window_class, const std::string& caption,
                      DWORD limit_ms) {
    for (double start = NowMs(); NowMs() - start < limit_ms; Sleep(20)) {
        auto found = FindTopWindows(process_id, window_class, caption);
        if (!found.empty()) {
            return found.front();
        }
    }
    return nullptr;
}

std::vector<DWORD> ProcessesNamed(const std::string& exe_name) {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return ids;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exe_name.c_str()) == 0) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return ids;
}

namespace {

// The system-wide handle list (the system information class 16), for Wine, whose
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
    return use;
}

std::string Describe(const ResourceUse& use) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "handles %lu, GDI objects %lu, USER objects %lu, private %.0f KiB", use.handles,
                  use.gdi_objects, use.user_objects, use.private_kib);
    return text;
}

}  // namespace zv::e2e
