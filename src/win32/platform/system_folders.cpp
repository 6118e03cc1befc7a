#include "win32/platform/system_folders.h"

#include <windows.h>

namespace zv::win32 {
namespace {

using FolderQuery = UINT(WINAPI*)(LPSTR, UINT);

std::string AskFolder(FolderQuery query) {
    char buffer[MAX_PATH];
    UINT length = query(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return "";
    }
    std::string folder(buffer, length);
    if (folder.back() == '\\') {  // a drive's root, such as "C:\"
        folder.pop_back();
    }
    return folder;
}

}  // namespace

std::string SystemFolder() {
    return AskFolder(GetSystemDirectoryA);
}

std::string WindowsFolder() {
    return AskFolder(GetSystemWindowsDirectoryA);
}

}  // namespace zv::win32
