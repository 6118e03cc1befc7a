#include "win32/platform/wow64.h"

#include <windows.h>

namespace zv::win32 {

bool RunningUnderWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    auto is_wow64_process = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "IsWow64Process")));
    BOOL wow64 = FALSE;
    return is_wow64_process != nullptr && is_wow64_process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace zv::win32
