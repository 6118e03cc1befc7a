#include "child_processes.h"

#include <tlhelp32.h>
#include <winternl.h>

#include "support/process.h"
#include "support/wait.h"

namespace zv::e2e {
namespace {

using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) {
        return "";
    }
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                     0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                        nullptr, nullptr);
    return text;
}

std::string CommandLineOf(DWORD id) {
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (query == nullptr || process == nullptr) {
        return "";
    }
    std::wstring text;
    PROCESS_BASIC_INFORMATION basic{};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) == 0 &&
        ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof(peb), nullptr) &&
        ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof(parameters),
                          nullptr)) {
        text.resize(parameters.CommandLine.Length / sizeof(wchar_t));
        if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, text.data(),
                               parameters.CommandLine.Length, nullptr)) {
            text.clear();
        }
    }
    CloseHandle(process);
    // Read too early, the buffer may be there but not yet written.
    if (text.find(L'\0') != std::wstring::npos) {
        text.clear();
    }
    return Narrow(text);
}

// The file name of a running process, from its full image path.
std::string ImageOf(DWORD id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) {
        return "";
    }
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    std::string image;
    if (QueryFullProcessImageNameA(process, 0, path, &size)) {
        image = path;
        image = image.substr(image.find_last_of('\\') + 1);
    }
    CloseHandle(process);
    return image;
}

}  // namespace

ChildWatcher::ChildWatcher(DWORD parent_id) : parent_id_(parent_id) {
    Poll();
}

std::vector<StartedProcess> ChildWatcher::Poll() {
    std::vector<StartedProcess> found;
    for (const PROCESSENTRY32& entry : RunningProcesses()) {
        if (entry.th32ParentProcessID == parent_id_ && seen_.insert(entry.th32ProcessID).second) {
            found.push_back({entry.th32ProcessID, entry.szExeFile, ""});
        }
    }
    // A child just created may not have its parameters in place yet.
    for (StartedProcess& child : found) {
        WaitUntil([&] { return !(child.command_line = CommandLineOf(child.id)).empty(); }, 2000);
        if (child.image.empty()) {
            child.image = ImageOf(child.id);
        }
    }
    return found;
}

std::vector<StartedProcess> ChildWatcher::WaitForNew(DWORD timeout_ms) {
    std::vector<StartedProcess> found;
    DWORD start = GetTickCount();
    while (found.empty() && GetTickCount() - start < timeout_ms) {
        found = Poll();
        if (found.empty()) {
            Sleep(10);
        }
    }
    return found;
}

}  // namespace zv::e2e
