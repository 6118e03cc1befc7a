// What Windows reads from each shipped program file before running it: the version
// resource Explorer and the installer show, the program icon, and the manifest's execution
// level and supportedOS entries. For the x64 programs installed in the sandbox and, when
// given, the x86 ones (their files only: this machine cannot run 32-bit code).
//
// usage: programs_e2e.exe VERSION MAJOR,MINOR,PATCH,TWEAK [X86_FOLDER]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/check.h"
#include "support/files.h"
#include "support/scenario_runner.h"

namespace e2e = zv::e2e;

namespace {

struct Program {
    const char* file;
    const char* description;
    const char* execution_level;
};

const Program kPrograms[] = {
    {"Zorvane.exe", "Zorvane TCP/IP tuning", "requireAdministrator"},
    {"vigilo.exe", "Vigilo connection monitor", "asInvoker"},
};

const char* const kWindows10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}";

std::string VersionText(const std::vector<char>& block, const char* name) {
    void* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || length == 0) {
        return "(none)";
    }
    return static_cast<const char*>(value);
}

void CheckVersion(const std::string& path, const Program& program, const std::string& version,
                  const DWORD numbers[4]) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size);
    if (!E2E_CHECK(size > 0)) {
        return;
    }
    E2E_CHECK(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    E2E_CHECK(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    if (fixed != nullptr) {
        E2E_CHECK_EQ(fixed->dwFileVersionMS, (numbers[0] << 16) | numbers[1]);
        E2E_CHECK_EQ(fixed->dwFileVersionLS, (numbers[2] << 16) | numbers[3]);
        E2E_CHECK_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
        E2E_CHECK_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    }
    E2E_CHECK_EQ(VersionText(block, "ProductName"), "Zorvane");
    E2E_CHECK_EQ(VersionText(block, "FileDescription"), program.description);
    E2E_CHECK_EQ(VersionText(block, "OriginalFilename"), program.file);
    E2E_CHECK_EQ(VersionText(block, "FileVersion"), version);
    E2E_CHECK_EQ(VersionText(block, "ProductVersion"), version);
    E2E_CHECK_STARTS_WITH(VersionText(block, "LegalCopyright"), "Copyright");
}

void CheckIconAndManifest(const std::string& path, const Program& program) {
    HMODULE image = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!E2E_CHECK(image != nullptr)) {
        return;
    }
    // The program icon is the icon group Explorer shows: the one with the lowest ID.
    E2E_CHECK(FindResourceA(image, MAKEINTRESOURCEA(1), RT_GROUP_ICON) != nullptr);
    HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), RT_MANIFEST);
    if (E2E_CHECK(found != nullptr)) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
        std::string manifest(bytes, SizeofResource(image, found));
        E2E_CHECK_CONTAINS(manifest, std::string("level=\"") + program.execution_level + "\"");
        E2E_CHECK_CONTAINS(manifest, kWindows10);
        E2E_CHECK_CONTAINS(manifest, "Microsoft.Windows.Common-Controls");
        E2E_CHECK_CONTAINS(manifest, ">PerMonitorV2, PerMonitor</dpiAwareness>");
        E2E_CHECK_CONTAINS(manifest, ">true/pm</dpiAware>");
    }
    FreeLibrary(image);
}

// VERSION MAJOR,MINOR,PATCH,TWEAK [X86_FOLDER]
bool ChecksPrograms(const e2e::Arguments& words) {
    e2e::Tally::Get().report_screen_on_first_failure = false;  // no windows here
    DWORD numbers[4] = {};
    if (words.size() < 2 || std::sscanf(words[1].c_str(), "%lu,%lu,%lu,%lu", &numbers[0],
                                        &numbers[1], &numbers[2], &numbers[3]) != 4) {
        return false;
    }
    std::vector<std::pair<std::string, std::string>> builds = {{"x64", e2e::AppDirectory()}};
    if (words.size() > 2) {
        builds.push_back({"x86", words[2]});
    }
    for (const auto& [build, folder] : builds) {
        for (const Program& program : kPrograms) {
            e2e::Context in(build + " " + program.file);
            std::string path = folder + "\\" + program.file;
            CheckVersion(path, program, words[0], numbers);
            CheckIconAndManifest(path, program);
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    return e2e::RunNamedScenario(
        {{"", "VERSION MAJOR,MINOR,PATCH,TWEAK [X86_FOLDER]", ChecksPrograms}}, argc, argv);
}
