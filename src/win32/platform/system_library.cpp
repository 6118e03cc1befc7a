#include "win32/platform/system_library.h"

#include <string>

#include "win32/platform/system_folders.h"

namespace zv::win32 {

namespace {

// Windows 7 and later, and Vista with its loader update; older releases refuse the flag.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

HMODULE LoadFromSystemFolder(const char* file_name) {
    if (HMODULE module = LoadLibraryExA(file_name, nullptr, kSearchSystem32)) {
        return module;
    }
    std::string folder = SystemFolder();
    if (folder.empty()) {
        return nullptr;
    }
    std::string path = folder + "\\" + file_name;
    // With a full path, the library's own dependencies are looked for in its folder.
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void RestrictDllSearchToSystemFolder() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    auto set_default_directories = LoadedSystemFunction<SetDefaultDllDirectoriesFn>(
        "kernel32.dll", "SetDefaultDllDirectories");
    if (set_default_directories != nullptr && set_default_directories(kSearchSystem32)) {
        return;
    }
    if (auto set_dll_directory =
            LoadedSystemFunction<SetDllDirectoryFn>("kernel32.dll", "SetDllDirectoryA")) {
        set_dll_directory("");
    }
}

SystemLibrary::SystemLibrary(const char* file_name) : file_name_(file_name) {}

HMODULE SystemLibrary::Module() {
    if (!tried_) {
        tried_ = true;
        module_ = LoadFromSystemFolder(file_name_);
    }
    return module_;
}

SystemLibrary::~SystemLibrary() {
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
}

}  // namespace zv::win32
