// What a planted stand-in does when it runs or is loaded: it leaves "<its own path>.mark"
// beside itself, holding the path of the program that ran or loaded it.
#pragma once

#include <windows.h>

#include <string>

inline void LeaveMark(HMODULE self) {
    char own[MAX_PATH] = {};
    char loader[MAX_PATH] = {};
    GetModuleFileNameA(self, own, MAX_PATH);
    DWORD length = GetModuleFileNameA(nullptr, loader, MAX_PATH);
    HANDLE mark = CreateFileA((std::string(own) + ".mark").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(mark, loader, length, &written, nullptr);
        CloseHandle(mark);
    }
}
