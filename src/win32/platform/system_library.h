// DLLs from the system folder and nowhere else, so that a DLL of a system name planted
// beside the program or in the current folder is never loaded in its place: the search
// order of the whole process, the libraries the programs load on demand, and the functions
// newer than the programs' floor release, looked up where Windows has them.
#pragma once

#include <windows.h>

#include <utility>

namespace zv::win32 {

// Called first in WinMain, before anything is loaded on demand. Where Windows has
// SetDefaultDllDirectories (8 and later; Vista and 7 with update KB2533623), every later
// load by name, ours or a system DLL's, looks in the system folder only. Elsewhere
// SetDllDirectoryA("") at least takes the current folder out of the search; the program
// folder stays in it there, which is why SystemLibrary names the system folder itself.
void RestrictDllSearchToSystemFolder();

// The exported function as type Fn, or null when the module or function is missing.
template <typename Fn>
Fn FunctionOf(HMODULE module, const char* function_name) {
    if (module == nullptr) {
        return nullptr;
    }
    // Through void(*)(), which converts to any function type without a warning.
    return reinterpret_cast<Fn>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, function_name)));
}

// A function of a DLL every process has loaded (kernel32.dll, ntdll.dll), as type Fn; null
// when this Windows lacks it.
template <typename Fn>
Fn LoadedSystemFunction(const char* module_name, const char* function_name) {
    return FunctionOf<Fn>(GetModuleHandleA(module_name), function_name);
}

// A system DLL outside the KnownDLLs list, which Windows would otherwise look for beside
// the program and in the current folder first. It is loaded when a function of it is first
// asked for, so that what a program may never use costs nothing at its start.
class SystemLibrary {
  public:
    explicit SystemLibrary(const char* file_name);
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The exported function as type Fn, or null when the library or function is missing.
    template <typename Fn>
    Fn Function(const char* name) {
        return FunctionOf<Fn>(Module(), name);
    }

    // Sets each function pointer to the export named after it, as in
    // FindAll(startup, "WSAStartup", cleanup, "WSACleanup"); true when every one was found.
    template <typename Fn, typename... More>
    bool FindAll(Fn& function, const char* name, More&&... more) {
        function = Function<Fn>(name);
        if constexpr (sizeof...(More) == 0) {
            return function != nullptr;
        } else {
            return FindAll(std::forward<More>(more)...) && function != nullptr;
        }
    }

  private:
    HMODULE Module();

    const char* file_name_;
    bool tried_ = false;
    HMODULE module_ = nullptr;
};

}  // namespace zv::win32
