#include "win32/platform/console_output.h"

#include <windows.h>

namespace zv::win32 {

void WriteToConsole(const std::string& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE console = INVALID_HANDLE_VALUE;
    // A GUI program gets no console of its own; a command prompt that started it lends
    // its own, which the program must open by name.
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
        out = console;
    }
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        return;
    }
    std::string line = text + "\r\n";
    DWORD written = 0;
    WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    if (console != INVALID_HANDLE_VALUE) {
        CloseHandle(console);
    }
}

}  // namespace zv::win32
