#include "win32/platform/program_directory.h"

#include <windows.h>

namespace zv::win32 {

std::string ProgramDirectory() {
    // GetModuleFileNameA truncates silently when the buffer is short, so grow until the
    // whole path fits.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::string();
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace zv::win32
