#include "support/stand_in_netsh.h"

#include <windows.h>

#include "support/files.h"
#include "support/wine_settings.h"

namespace zv::e2e {
namespace {

// Where the stand-in writes and reads, as it has them.
const char kCalls[] = "C:\\netsh-calls.txt";
const char kExitCode[] = "C:\\netsh-exit.txt";
const char kHold[] = "C:\\netsh-hold.txt";

}  // namespace

bool PlaceStandInNetsh() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return CopyFileA((DriverFolder() + "\\netsh.exe").c_str(),
                     (std::string(system) + "\\netsh.exe").c_str(), FALSE) &&
           PreferNative("netsh.exe");
}

void SetNetshExitCode(int code) {
    WriteWholeFile(kExitCode, std::to_string(code));
}

bool HoldNetsh() {
    return WriteWholeFile(kHold, "");
}

void LetNetshGo() {
    RemoveFile(kHold);
}

std::vector<std::string> NetshCalls() {
    std::vector<std::string> lines;
    std::string text = ReadWholeFile(kCalls).value_or("");
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    RemoveFile(kCalls);
    return lines;
}

}  // namespace zv::e2e
