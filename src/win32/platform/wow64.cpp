#include "win32/platform/wow64.h"

#include "win32/platform/system_library.h"

namespace zv::win32 {

bool RunningUnderWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto is_wow64_process =
        LoadedSystemFunction<IsWow64ProcessFn>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return is_wow64_process != nullptr && is_wow64_process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace zv::win32
