// The x64 Windows Installer package as deployment tools run it, with the commands the
// README gives: refused over the setup program's install of either build, a silent install
// of an older build and the upgrade to this one keeping the settings, the saved choice
// applied by a startup script, moving to the x86 package and back keeping the settings,
// the snapshots and VIGILO_AT_LOGON, and silent uninstalls with and without RESTORE=1 (one
// whose restore fails removing nothing, one that fails late keeping the snapshots), each
// leaving nothing behind.
//
// usage: msi_e2e deploy PACKAGE.msi VERSION OLDER.msi OLDER_VERSION BUILT_APP_FOLDER SETUP.exe
//                       X86.msi LATE.msi
//        msi_e2e restore-without-first-snapshot PACKAGE.msi
// LATE.msi is PACKAGE.msi with a deferred action that fails, at the end of the uninstall's
// script, when FAIL_LATE=1 is given.
#include <windows.h>

#include <shlobj.h>

#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fakes/registry_paths.h"
#include "install/installed_copy.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "support/registry_read.h"
#include "support/scenario_runner.h"

namespace e2e = zv::e2e;
namespace test_keys = zv::test_keys;

namespace {

const HKEY kHklm = HKEY_LOCAL_MACHINE;
const std::string kUninstallKeys = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// A key of HKLM\Software as a 64-bit program finds it in the 32-bit registry of 64-bit
// Windows, which the x86 builds write to.
std::string In32BitRegistry(const std::string& key) {
    return "Software\\Wow6432Node\\" + key.substr(std::strlen("Software\\"));
}

// The upgrade code of both builds (installer/zorvane.wxs).
const std::string kUpgradeCode = "{5C3E8A41-7D2B-4F96-9E0A-2B61D4C7F385}";
constexpr DWORD kInstallTimeoutMs = 90000;
constexpr DWORD kInstallFailed = 1603;
constexpr DWORD kFunctionFailed = 1627;

struct Packages {
    std::string msi;
    std::string version;
    std::string older_msi;
    std::string older_version;
    std::string built;  // the build's app folder, as Wine sees it
    std::string setup;  // the setup program of this version
    std::string x86_msi;
    std::string late_msi;
};

std::optional<DWORD> Run(const std::string& command) {
    e2e::Note(command);
    e2e::ChildProcess process(command, SW_HIDE);
    return process.WaitForExit(kInstallTimeoutMs);
}

std::optional<DWORD> Msiexec(const std::string& arguments) {
    return Run("msiexec " + arguments);
}

// The product codes of the packages of Zorvane that "Apps & Features" lists, of both builds.
std::vector<std::string> InstalledPackages() {
    std::vector<std::string> codes;
    for (const std::string& keys : {kUninstallKeys, In32BitRegistry(kUninstallKeys)}) {
        for (const std::string& name : e2e::SubkeyNames(kHklm, keys)) {
            if (name.front() == '{' && e2e::ReadString(kHklm, keys + "\\" + name, "DisplayName") ==
                                           std::optional<std::string>("Zorvane")) {
                codes.push_back(name);
            }
        }
    }
    return codes;
}

// The one installed package's product code, "" when there is not exactly one.
std::string InstalledPackage() {
    std::vector<std::string> codes = InstalledPackages();
    E2E_CHECK_EQ(codes.size(), size_t{1});
    return codes.size() == 1 ? codes.front() : std::string();
}

std::string ProgramsFolder(int csidl) {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, folder);
    return std::string(folder) + "\\Zorvane";
}

// Windows puts a per-machine package's shortcuts into the Start menu of all users; Wine's
// installer puts them into the installing user's (its ProgramMenuFolder ignores ALLUSERS).
std::string ShortcutFolder() {
    return ProgramsFolder(CSIDL_PROGRAMS);
}

void InstalledAsDeployed(const Packages& packages) {
    e2e::CheckShippedFiles(packages.built);
    e2e::CheckShortcuts(ShortcutFolder());
    e2e::CheckTexts(kUninstallKeys + "\\" + InstalledPackage(),
                    {{"DisplayName", "Zorvane"},
                     {"DisplayVersion", packages.version},
                     {"Publisher", "The Zorvane developers"},
                     {"InstallLocation", e2e::AppDirectory() + "\\"}});
    E2E_CHECK_EQ(e2e::ReadString(kHklm, test_keys::kRun, "Vigilo"),
                 std::optional<std::string>(e2e::Quoted(e2e::Installed("vigilo.exe"))));
}

// Removing the setup program's install first is the administrator's step: its uninstaller
// would take the settings and the state before Zorvane's first change with it.
void RefusedOverTheSetupProgram(const Packages& packages) {
    e2e::Context in("over the setup program's install");
    E2E_CHECK_EQ(Run(e2e::Quoted(packages.setup) + " /S"), std::optional<DWORD>(0));
    E2E_CHECK_EQ(Msiexec("/i " + e2e::Quoted(packages.msi) + " /qn"),
                 std::optional<DWORD>(kInstallFailed));
    E2E_CHECK_EMPTY(InstalledPackages());
    E2E_CHECK(e2e::FileIsPresent(e2e::Installed("uninstall.exe")));
    // The uninstaller hands over to a copy of itself outside the folder and ends at once.
    e2e::ChildProcess uninstall(e2e::Quoted(e2e::Installed("uninstall.exe")) + " /S");
    E2E_CHECK_EQ(uninstall.WaitForExit(kInstallTimeoutMs), std::optional<DWORD>(0));
    E2E_CHECK(e2e::WaitForChildrenOf(uninstall.id(), kInstallTimeoutMs));
    E2E_CHECK(!e2e::FileIsPresent(e2e::AppDirectory()));
}

// The x86 setup, which this machine cannot run, writes its entry into the 32-bit registry.
void RefusedOverTheX86SetupProgram(const Packages& packages) {
    e2e::Context in("over the x86 setup program's install");
    const std::string entry = "HKLM\\" + In32BitRegistry(kUninstallKeys) + "\\Zorvane";
    E2E_CHECK_EQ(Run("reg add \"" + entry + "\" /v UninstallString /d " +
                     "\"C:\\Program Files (x86)\\Zorvane\\uninstall.exe\" /f"),
                 std::optional<DWORD>(0));
    E2E_CHECK_EQ(Msiexec("/i " + e2e::Quoted(packages.msi) + " /qn"),
                 std::optional<DWORD>(kInstallFailed));
    E2E_CHECK_EMPTY(InstalledPackages());
    E2E_CHECK_EQ(Run("reg delete \"" + entry + "\" /f"), std::optional<DWORD>(0));
}

void UpgradesKeepingTheSettings(const Packages& packages) {
    e2e::Context in("upgrade from " + packages.older_version);
    E2E_CHECK_EQ(Msiexec("/i " + e2e::Quoted(packages.older_msi) + " /qn"),
                 std::optional<DWORD>(0));
    E2E_CHECK_EQ(e2e::ReadWholeFile(e2e::Installed("Ping.cfg")),
                 std::optional<std::string>(e2e::DefaultPingCfg()));
    const std::string settings = "ConnectionType,3\r\nOptiMode,0\r\n";
    const std::string ping = "PingAutomatic,#FALSE#\r\nPingHost,ping.zorvane.test\r\n";
    E2E_CHECK(e2e::WriteWholeFile(e2e::Installed("Zorvane.cfg"), settings));
    E2E_CHECK(e2e::WriteWholeFile(e2e::Installed("Ping.cfg"), ping));
    E2E_CHECK_EQ(Msiexec("/i " + e2e::Quoted(packages.msi) + " /qn"), std::optional<DWORD>(0));
    InstalledAsDeployed(packages);
    E2E_CHECK_EQ(e2e::ReadWholeFile(e2e::Installed("Zorvane.cfg")),
                 std::optional<std::string>(settings));
    E2E_CHECK_EQ(e2e::ReadWholeFile(e2e::Installed("Ping.cfg")), std::optional<std::string>(ping));
}

// The Group Policy startup script of the README, with the prepared file beside it.
void AppliesFromAStartupScript() {
    e2e::Context in("startup script");
    const std::string folder = "C:\\deploy";
    CreateDirectoryA(folder.c_str(), nullptr);
    E2E_CHECK(e2e::WriteWholeFile(folder + "\\Zorvane.cfg", "ConnectionType,3\r\nOptiMode,0\r\n"));
    E2E_CHECK(e2e::WriteWholeFile(
        folder + "\\apply-zorvane.cmd",
        "copy /y \"%~dp0Zorvane.cfg\" \"%ProgramFiles%\\Zorvane\\Zorvane.cfg\"\r\n"
        "start /wait \"\" \"%ProgramFiles%\\Zorvane\\Zorvane.exe\" /apply\r\n"
        "exit /b %ERRORLEVEL%\r\n"));
    const e2e::RegistrySnapshot before = e2e::TcpipRegistry();
    E2E_CHECK_EQ(Run("cmd /c " + folder + "\\apply-zorvane.cmd"), std::optional<DWORD>(0));
    E2E_CHECK(!e2e::Differences(before, e2e::TcpipRegistry()).empty());
}

// The README's scripts for a scheduled task or startup script: the saved choice writes the
// classic receive window, which Windows 10 ignores, so /check finds it, /repair removes it,
// and /check then finds nothing.
void ChecksAndRepairsFromScripts() {
    e2e::Context in("check and repair scripts");
    const std::string folder = "C:\\deploy";
    for (const char* name : {"check", "repair"}) {
        E2E_CHECK(e2e::WriteWholeFile(folder + "\\" + name + "-zorvane.cmd",
                                      std::string("start /wait \"\" \"%ProgramFiles%\\Zorvane\\"
                                                  "Zorvane.exe\" /") +
                                          name + "\r\nexit /b %ERRORLEVEL%\r\n"));
    }
    const std::string check = "cmd /c " + folder + "\\check-zorvane.cmd";
    E2E_CHECK_EQ(Run(check), std::optional<DWORD>(1));
    E2E_CHECK_EQ(Run("cmd /c " + folder + "\\repair-zorvane.cmd"), std::optional<DWORD>(0));
    E2E_CHECK_EQ(Run(check), std::optional<DWORD>(0));
}

// What the user's work left in an install folder: the settings and the snapshots, by name.
std::map<std::string, std::string> UserFiles(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const char* name : {"Zorvane.cfg", "Ping.cfg"}) {
        if (std::optional<std::string> text = e2e::ReadWholeFile(folder + "\\" + name)) {
            files[name] = *text;
        }
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\Snapshots\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        const std::string name = std::string("Snapshots\\") + found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            files[name] = e2e::ReadWholeFile(folder + "\\" + name).value_or("");
        }
    }
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
    return files;
}

void CheckNoRunEntry() {
    for (const std::string& key : {test_keys::kRun, In32BitRegistry(test_keys::kRun)}) {
        e2e::Context in(key);
        E2E_CHECK(!e2e::ReadRegistryValue(kHklm, key, "Vigilo").has_value());
    }
}

// A GUID as Windows Installer writes it in its registry keys: "{ECB127FD-88FD-8C13-...}"
// -> "DF721BCEDF8831C8...", the first three groups reversed, then each byte's digits swapped.
std::string Squished(const std::string& guid) {
    std::string digits;
    for (char c : guid) {
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits += c;
        }
    }
    std::string squished(digits.rbegin() + 24, digits.rend());  // the first 8, reversed
    squished.append(digits.rbegin() + 20, digits.rbegin() + 24);
    squished.append(digits.rbegin() + 16, digits.rbegin() + 20);
    for (size_t i = 16; i + 1 < digits.size(); i += 2) {
        squished += {digits[i + 1], digits[i]};
    }
    return squished;
}

// Windows Installer keeps the record of the upgrade code's installed product when an
// upgrade removes the older one; Wine 8's removes the whole record, so that no later
// package would find the product. Puts back what Windows would have kept.
void KeepUpgradeRecordAsWindowsDoes(const std::string& product) {
    const std::string records = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer";
    const std::string key = records + "\\UpgradeCodes\\" + Squished(kUpgradeCode);
    E2E_CHECK_EQ(Run("reg add \"" + key + "\" /v " + Squished(product) + " /d \"\" /f"),
                 std::optional<DWORD>(0));
}

// Each build installs into its own Program Files on 64-bit Windows: the x86 package over
// the x64 one and back takes the settings and the snapshots along, and a VIGILO_AT_LOGON
// given once, also from an install that kept no choice (a package made before it did),
// whose missing Run entry tells it. This machine's Wine runs no 32-bit program: the 64-bit cmd and
// msiexec stand in where the x86 package's actions and its removal of the x64 one look for their
// own.
void MovesBetweenTheBuilds(const Packages& packages) {
    e2e::Context in("moving between the builds");
    const std::string windows = e2e::EnvironmentVariable("SystemRoot");
    for (const std::string program : {"\\cmd.exe", "\\msiexec.exe"}) {
        E2E_CHECK(CopyFileA((windows + "\\system32" + program).c_str(),
                            (windows + "\\SysWOW64" + program).c_str(), FALSE));
    }
    const std::string x64_folder = e2e::AppDirectory();
    const std::string x86_folder = e2e::EnvironmentVariable("ProgramFiles(x86)") + "\\Zorvane";
    const std::map<std::string, std::string> files = UserFiles(x64_folder);
    E2E_CHECK_EQ(files.count("Snapshots\\first-snapshot.txt"), size_t{1});
    struct Move {
        const char* to;
        std::string msi;
        std::string folder;
        std::string left;
        const char* properties;
        bool no_choice_kept;
    };
    for (const Move& move :
         {Move{"to x86", packages.x86_msi, x86_folder, x64_folder, " VIGILO_AT_LOGON=0", false},
          Move{"back to x64", packages.msi, x64_folder, x86_folder, "", false},
          Move{"to x86 from no choice kept", packages.x86_msi, x86_folder, x64_folder, "", true},
          Move{"back to x64 again", packages.msi, x64_folder, x86_folder, "", false}}) {
        e2e::Context to(move.to);
        KeepUpgradeRecordAsWindowsDoes(InstalledPackage());
        if (move.no_choice_kept) {
            E2E_CHECK(e2e::DeleteRegistryTree(kHklm, "Software\\Zorvane"));
        }
        E2E_CHECK_EQ(Msiexec("/i " + e2e::Quoted(move.msi) + " /qn" + move.properties),
                     std::optional<DWORD>(0));
        E2E_CHECK_EQ(InstalledPackages().size(), size_t{1});
        const std::map<std::string, std::string> moved = UserFiles(move.folder);
        E2E_CHECK_EQ(moved.size(), files.size());
        for (const auto& [name, text] : files) {
            e2e::Context of(name);
            E2E_CHECK_EQ(moved.count(name) ? moved.at(name) : "(none)", text);
        }
        E2E_CHECK(!e2e::FileIsPresent(move.left));
        CheckNoRunEntry();
    }
}

void NothingIsLeft() {
    E2E_CHECK(!e2e::FileIsPresent(e2e::AppDirectory()));
    E2E_CHECK(!e2e::FileIsPresent(ProgramsFolder(CSIDL_PROGRAMS)));
    E2E_CHECK(!e2e::FileIsPresent(ProgramsFolder(CSIDL_COMMON_PROGRAMS)));
    E2E_CHECK_EMPTY(InstalledPackages());
    CheckNoRunEntry();
    E2E_CHECK(!e2e::RegistryKeyExists(kHklm, "Software\\Zorvane"));
    E2E_CHECK(!e2e::RegistryKeyExists(kHklm, In32BitRegistry("Software\\Zorvane")));
    e2e::CheckNoUserTraces();
}

// RESTORE=1 puts back the registry of before Zorvane's first change.
void UninstallsRestoring(const e2e::RegistrySnapshot& before_zorvane) {
    e2e::Context in("uninstall with RESTORE=1");
    e2e::LeaveUserTraces();
    E2E_CHECK_EQ(Msiexec("/x " + InstalledPackage() + " /qn RESTORE=1"), std::optional<DWORD>(0));
    e2e::CheckTcpipRegistry(before_zorvane);
    NothingIsLeft();
}

// Without the companion's logon entry; a restore that fails keeps everything, and an
// uninstall without RESTORE leaves the applied values in effect.
void UninstallsKeepingTheValues(const Packages& packages) {
    e2e::Context in("uninstall without RESTORE");
    E2E_CHECK_EQ(Msiexec("/i " + e2e::Quoted(packages.msi) + " /qn VIGILO_AT_LOGON=0"),
                 std::optional<DWORD>(0));
    E2E_CHECK(!e2e::ReadRegistryValue(kHklm, test_keys::kRun, "Vigilo").has_value());
    E2E_CHECK_EQ(e2e::ReadWholeFile(e2e::Installed("Ping.cfg")),
                 std::optional<std::string>(e2e::DefaultPingCfg()));
    E2E_CHECK(
        e2e::WriteWholeFile(e2e::Installed("Zorvane.cfg"), "ConnectionType,3\r\nOptiMode,0\r\n"));
    E2E_CHECK_EQ(e2e::RunInstalled("/apply"), std::optional<DWORD>(0));
    const e2e::RegistrySnapshot applied = e2e::TcpipRegistry();
    E2E_CHECK(e2e::WriteWholeFile(e2e::Installed("Snapshots\\first-snapshot.txt"), "damaged\r\n"));
    const std::string product = InstalledPackage();
    // Windows reports a failed custom action as 1603; Wine's installer as 1627.
    const std::optional<DWORD> refused = Msiexec("/x " + product + " /qn RESTORE=1");
    E2E_CHECK_ONE_OF(refused, kInstallFailed, kFunctionFailed);
    E2E_CHECK(e2e::FileIsPresent(e2e::Installed("Zorvane.exe")));
    E2E_CHECK(InstalledPackages() == std::vector<std::string>{product});
    e2e::LeaveUserTraces();
    E2E_CHECK_EQ(Msiexec("/x " + product + " /qn"), std::optional<DWORD>(0));
    e2e::CheckTcpipRegistry(applied);
    NothingIsLeft();
}

// An uninstall that fails after the folders' removal was scheduled keeps the snapshots:
// the state to put back outlives any uninstall that was not committed.
void FailingUninstallKeepsTheSnapshots(const Packages& packages) {
    e2e::Context in("uninstall failing late");
    E2E_CHECK_EQ(Msiexec("/i " + e2e::Quoted(packages.late_msi) + " /qn"), std::optional<DWORD>(0));
    CreateDirectoryA(e2e::Installed("Snapshots").c_str(), nullptr);
    const std::string first = e2e::Installed("Snapshots\\first-snapshot.txt");
    E2E_CHECK(e2e::WriteWholeFile(first, "kept\r\n"));
    const std::optional<DWORD> failed = Msiexec("/x " + InstalledPackage() + " /qn FAIL_LATE=1");
    E2E_CHECK_ONE_OF(failed, kInstallFailed, kFunctionFailed);
    E2E_CHECK_EQ(e2e::ReadWholeFile(first), std::optional<std::string>("kept\r\n"));
}

// PACKAGE.msi VERSION OLDER.msi OLDER_VERSION BUILT_APP_FOLDER SETUP.exe X86.msi LATE.msi
bool DeploysAndRemoves(const e2e::Arguments& words) {
    if (words.size() < 8) {
        return false;
    }
    const Packages packages{words[0], words[1], words[2], words[3],
                            words[4], words[5], words[6], words[7]};
    RefusedOverTheSetupProgram(packages);
    RefusedOverTheX86SetupProgram(packages);
    const e2e::RegistrySnapshot before_zorvane = e2e::TcpipRegistry();
    UpgradesKeepingTheSettings(packages);
    AppliesFromAStartupScript();
    ChecksAndRepairsFromScripts();
    MovesBetweenTheBuilds(packages);
    UninstallsRestoring(before_zorvane);
    UninstallsKeepingTheValues(packages);
    // Last: Wine's installer leaves a failed uninstall half done.
    FailingUninstallKeepsTheSnapshots(packages);
    return true;
}

// Without a record of the state before Zorvane's first change, RESTORE=1 has nothing of
// Zorvane's to put back: the values someone else set stay.
bool RestoresNothingWithoutAFirstSnapshot(const e2e::Arguments& words) {
    if (words.size() != 1) {
        return false;
    }
    E2E_CHECK_EQ(Msiexec("/i " + e2e::Quoted(words[0]) + " /qn"), std::optional<DWORD>(0));
    E2E_CHECK(e2e::WriteDword(kHklm, test_keys::kTcpip, "KeepAliveTime", 300000));
    const e2e::RegistrySnapshot before = e2e::TcpipRegistry();
    E2E_CHECK_EQ(Msiexec("/x " + InstalledPackage() + " /qn RESTORE=1"), std::optional<DWORD>(0));
    e2e::CheckTcpipRegistry(before);
    NothingIsLeft();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    return e2e::RunNamedScenario(
        {{"deploy",
          "PACKAGE.msi VERSION OLDER.msi OLDER_VERSION BUILT_APP_FOLDER SETUP.exe X86.msi "
          "LATE.msi",
          DeploysAndRemoves},
         {"restore-without-first-snapshot", "PACKAGE.msi", RestoresNothingWithoutAFirstSnapshot}},
        argc, argv);
}
