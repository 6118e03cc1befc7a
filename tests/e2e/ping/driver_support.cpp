#include "driver_support.h"

#include <cstdlib>

#include "win32/ui/window_base.h"

namespace zv::e2e {

bool AskSandbox(const std::string& request) {
    const char* folder = std::getenv("ZV_CTL_DIR");
    if (folder == nullptr) {
        return false;
    }
    std::string base = std::string(folder) + "\\" + request;
    std::string done = base + ".done";
    DeleteFileA(done.c_str());
    HANDLE file = CreateFileA((base + ".req").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    for (int i = 0; i < 200; ++i) {
        if (GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            win32::DispatchOneMessage(message);
        }
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

std::string WindowText(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace zv::e2e
