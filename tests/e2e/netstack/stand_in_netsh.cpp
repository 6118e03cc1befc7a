// Stands in for netsh.exe in the sandbox's system folder: appends its arguments (its command
// line after its own name) as one line to C:\netsh-calls.txt and ends with the number in
// C:\netsh-exit.txt, or 0 when there is none. While C:\netsh-hold.txt is there (for at most
// 30 s) it waits before it ends, as a slow netsh does. It changes nothing.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string ArgumentsOf(const char* line) {
    bool quoted = false;
    for (; *line != '\0' && (quoted || *line != ' '); ++line) {
        quoted = *line == '"' ? !quoted : quoted;
    }
    while (*line == ' ') {
        ++line;
    }
    return line;
}

}  // namespace

int main() {
    std::string line = ArgumentsOf(GetCommandLineA()) + "\r\n";
    HANDLE calls = CreateFileA("C:\\netsh-calls.txt", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(calls, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(calls);
    char code[16] = {};
    HANDLE exit_file = CreateFileA("C:\\netsh-exit.txt", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD read = 0;
    if (exit_file != INVALID_HANDLE_VALUE) {
        ReadFile(exit_file, code, sizeof(code) - 1, &read, nullptr);
        CloseHandle(exit_file);
    }
    for (int waited = 0;
         waited < 300 && GetFileAttributesA("C:\\netsh-hold.txt") != INVALID_FILE_ATTRIBUTES;
         ++waited) {
        Sleep(100);
    }
    return std::atoi(code);
}
