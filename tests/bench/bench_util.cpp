#include "bench_util.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zv::bench {

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

PROCESS_INFORMATION Start(const std::string& path, const std::string& arguments) {
    std::string command = "\"" + path + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                   &process);
    return process;
}

namespace {

struct Search {
    DWORD process_id;
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->process_id && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

double WaitForVisibleWindow(DWORD process_id, double limit_ms, HWND* window) {
    double start = NowMs();
    while (NowMs() - start < limit_ms) {
        Search search{process_id, nullptr};
        EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            if (window != nullptr) {
                *window = search.found;
            }
            return NowMs() - start;
        }
        Sleep(1);
    }
    return -1;
}

void Stop(PROCESS_INFORMATION& process) {
    if (process.hProcess != nullptr) {
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    process = PROCESS_INFORMATION{};
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string AppDir() {
    const char* dir = std::getenv("ZV_APP_DIR");
    return dir != nullptr ? dir : ".";
}

void MakeInterfaceKeys(const std::string& parent, int count) {
    for (int i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof(name), "{BENCH-%04d}", i);
        HKEY key;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, (parent + "\\" + name).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            RegCloseKey(key);
        }
    }
}

void ForEachSubkey(const std::string& parent,
                   const std::function<void(const std::string&)>& visit) {
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, parent.c_str(), &key) != ERROR_SUCCESS) {
        return;
    }
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 255;
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        visit(std::string(name, length));
    }
    RegCloseKey(key);
}

}  // namespace zv::bench
