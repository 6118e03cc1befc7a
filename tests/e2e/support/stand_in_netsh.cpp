#include "support/stand_in_netsh.h"

#include <windows.h>

#include "support/check.h"
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

void CheckNetshStoresMtu(int mtu) {
    const std::string head = "interface ipv4 set subinterface interface=";
    const std::string tail = " mtu=" + std::to_string(mtu) + " store=persistent";
    const std::vector<std::string> calls = NetshCalls();
    E2E_CHECK_EQ(calls.size(), size_t{1});
    for (const std::string& call : calls) {
        E2E_CHECK_STARTS_WITH(call, head);
        E2E_CHECK_ENDS_WITH(call, tail);
        if (E2E_CHECK(call.size() > head.size() + tail.size())) {
            const std::string index =
                call.substr(head.size(), call.size() - head.size() - tail.size());
            E2E_CHECK_EQ(index.find_first_not_of("0123456789"), std::string::npos);
        }
    }
}

}  // namespace zv::e2e
