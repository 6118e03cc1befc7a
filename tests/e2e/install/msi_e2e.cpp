// The x64 Windows Installer package as deployment tools run it, with the commands the
// README gives: refused over the setup program's install, a silent install of an older
// build and the upgrade to this one keeping the settings, the saved choice applied by a
// startup script, and silent uninstalls with and without RESTORE=1 (one whose restore
// fails removing nothing), each leaving nothing behind.
//
// usage: msi_e2e PACKAGE.msi VERSION OLDER.msi OLDER_VERSION BUILT_APP_FOLDER SETUP.exe
#include <windows.h>

#include <shlobj.h>

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
};

std::optional<DWORD> Run(const std::string& command) {
    e2e::Note(command);
    e2e::ChildProcess process(command, SW_HIDE);
    return process.WaitForExit(kInstallTimeoutMs);
}

std::optional<DWORD> Msiexec(const std::string& arguments) {
    return Run("msiexec " + arguments);
}

// The product codes of the packages of Zorvane that "Apps & Features" lists.
std::vector<std::string> InstalledPackages() {
    std::vector<std::string> codes;
    for (const std::string& name : e2e::SubkeyNames(kHklm, kUninstallKeys)) {
        if (name.front() == '{' &&
            e2e::ReadString(kHklm, kUninstallKeys + "\\" + name, "DisplayName") ==
                std::optional<std::string>("Zorvane")) {
            codes.push_back(name);
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
    E2E_CHECK(InstalledPackages().empty());
    E2E_CHECK(e2e::FileIsPresent(e2e::Installed("uninstall.exe")));
    // The uninstaller hands over to a copy of itself outside the folder and ends at once.
    e2e::ChildProcess uninstall(e2e::Quoted(e2e::Installed("uninstall.exe")) + " /S");
    E2E_CHECK_EQ(uninstall.WaitForExit(kInstallTimeoutMs), std::optional<DWORD>(0));
    E2E_CHECK(e2e::WaitForChildrenOf(uninstall.id(), kInstallTimeoutMs));
    E2E_CHECK(!e2e::FileIsPresent(e2e::AppDirectory()));
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

void NothingIsLeft() {
    E2E_CHECK(!e2e::FileIsPresent(e2e::AppDirectory()));
    E2E_CHECK(!e2e::FileIsPresent(ProgramsFolder(CSIDL_PROGRAMS)));
    E2E_CHECK(!e2e::FileIsPresent(ProgramsFolder(CSIDL_COMMON_PROGRAMS)));
    E2E_CHECK(InstalledPackages().empty());
    E2E_CHECK(!e2e::ReadRegistryValue(kHklm, test_keys::kRun, "Vigilo").has_value());
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
    E2E_CHECK(refused == kInstallFailed || refused == kFunctionFailed);
    E2E_CHECK(e2e::FileIsPresent(e2e::Installed("Zorvane.exe")));
    E2E_CHECK(InstalledPackages() == std::vector<std::string>{product});
    e2e::LeaveUserTraces();
    E2E_CHECK_EQ(Msiexec("/x " + product + " /qn"), std::optional<DWORD>(0));
    e2e::CheckTcpipRegistry(applied);
    NothingIsLeft();
}

// PACKAGE.msi VERSION OLDER.msi OLDER_VERSION BUILT_APP_FOLDER SETUP.exe
bool DeploysAndRemoves(const e2e::Arguments& words) {
    if (words.size() < 6) {
        return false;
    }
    const Packages packages{words[0], words[1], words[2], words[3], words[4], words[5]};
    RefusedOverTheSetupProgram(packages);
    const e2e::RegistrySnapshot before_zorvane = e2e::TcpipRegistry();
    UpgradesKeepingTheSettings(packages);
    AppliesFromAStartupScript();
    ChecksAndRepairsFromScripts();
    UninstallsRestoring(before_zorvane);
    UninstallsKeepingTheValues(packages);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    return e2e::RunNamedScenario(
        {{"", "PACKAGE.msi VERSION OLDER.msi OLDER_VERSION BUILT_APP_FOLDER SETUP.exe",
          DeploysAndRemoves}},
        argc, argv);
}
