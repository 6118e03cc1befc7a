// Loads a Windows DLL from the system folder and nowhere else, so that a DLL of the same
// name planted beside the program or in the current folder is never picked up. For system
// DLLs outside the KnownDLLs list, which Windows would otherwise look for there first.
// The library is loaded when a function of it is first asked for, so that what a program
// may never use costs nothing at its start.
#pragma once

#include <windows.h>

namespace zv::win32 {

class SystemLibrary {
  public:
    explicit SystemLibrary(const char* file_name);
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The exported function as type Fn, or null when the library or function is missing.
    template <typename Fn>
    Fn Function(const char* name) {
        HMODULE module = Module();
        if (module == nullptr) {
            return nullptr;
        }
        // Through void(*)(), which converts to any function type without a warning.
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    }

  private:
    HMODULE Module();

    const char* file_name_;
    bool tried_ = false;
    HMODULE module_ = nullptr;
};

}  // namespace zv::win32
