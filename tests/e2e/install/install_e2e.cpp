// The x64 setup as an administrator deploys it, in a sandbox with nothing installed: a
// silent install into Program Files (the files as built, Ping.cfg with the programs'
// defaults, the shortcuts, the "Apps & Features" entry, the logon entry), the companion
// started from the installed folder (by the logon entry, and by Zorvane through the desktop
// shell or, with COM unavailable, by itself), an upgrade over a running companion that
// keeps both settings files, a running copy the setups cannot close stopping both, the saved
// choice applied from the command line, and a silent uninstall that puts back the registry
// of before Zorvane's first change and leaves nothing behind.
//
// usage: install_e2e SETUP.exe VERSION BUILT_APP_FOLDER
#include <windows.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fakes/program_texts.h"
#include "fakes/registry_paths.h"
#include "install/installed_copy.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "support/registry_read.h"
#include "support/scenario_runner.h"
#include "support/windows_on_screen.h"
#include "support/wine_settings.h"

namespace e2e = zv::e2e;
namespace test_keys = zv::test_keys;

namespace {

const HKEY kHklm = HKEY_LOCAL_MACHINE;
const std::string kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zorvane";
constexpr DWORD kSetupTimeoutMs = 90000;

struct Setup {
    std::string path;
    std::string version;
    std::string built;  // the build's app folder, as Wine sees it
};

std::string ShortcutFolder() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, folder);
    return std::string(folder) + "\\Zorvane";
}

std::optional<DWORD> RunSetup(const Setup& setup) {
    e2e::ChildProcess process(e2e::Quoted(setup.path) + " /S");
    return process.WaitForExit(kSetupTimeoutMs);
}

struct Companion {
    DWORD id = 0;
    std::string image;
    DWORD parent_id = 0;      // the process that started it
    std::string parent_name;  // its file name, while it runs
};

// The process that started `id`, and its file name while it runs.
std::pair<DWORD, std::string> ParentOf(DWORD id) {
    const std::vector<PROCESSENTRY32> entries = e2e::RunningProcesses();
    DWORD parent = 0;
    for (const PROCESSENTRY32& entry : entries) {
        if (entry.th32ProcessID == id) {
            parent = entry.th32ParentProcessID;
        }
    }
    for (const PROCESSENTRY32& entry : entries) {
        if (parent != 0 && entry.th32ProcessID == parent) {
            return {parent, entry.szExeFile};
        }
    }
    return {parent, std::string()};
}

// The running companion, once its window is up.
// The companion's first start in a fresh prefix, beside other tests' starts, has been seen
// to take longer than the usual bound.
constexpr DWORD kCompanionStartMs = 30000;

std::optional<Companion> FindCompanion() {
    HWND window = e2e::WaitForWindow({0, "ZorvaneVigilo", "Vigilo", false}, kCompanionStartMs);
    if (window == nullptr) {
        return std::nullopt;
    }
    Companion companion;
    GetWindowThreadProcessId(window, &companion.id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, companion.id);
    char path[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    if (process != nullptr) {
        QueryFullProcessImageNameA(process, 0, path, &size);
        CloseHandle(process);
    }
    companion.image = path;
    std::tie(companion.parent_id, companion.parent_name) = ParentOf(companion.id);
    return companion;
}

// Ends the companion as the setup does, through its window; true when it ended of itself.
bool CloseCompanion(const Companion& companion) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, companion.id);
    HWND window = e2e::WaitForWindow({companion.id, "ZorvaneVigilo", "Vigilo", false});
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    bool ended = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0 &&
                 GetExitCodeProcess(process, &code) && code == 0;
    CloseHandle(process);
    return ended;
}

void InstallsSilently(const Setup& setup) {
    e2e::Context in("silent install");
    E2E_CHECK_EQ(RunSetup(setup), std::optional<DWORD>(0));
    E2E_CHECK_EQ(e2e::AppDirectory(), e2e::EnvironmentVariable("ProgramFiles") + "\\Zorvane");
    e2e::CheckShippedFiles(setup.built);
    E2E_CHECK(e2e::FileIsPresent(e2e::Installed("uninstall.exe")));
    E2E_CHECK(!e2e::FileIsPresent(e2e::Installed("Zorvane.cfg")));
    E2E_CHECK_EQ(e2e::ReadWholeFile(e2e::Installed("Ping.cfg")),
                 std::optional<std::string>(e2e::DefaultPingCfg()));
    e2e::CheckShortcuts(ShortcutFolder());
    const std::string folder = e2e::AppDirectory();
    e2e::CheckTexts(kUninstallKey,
                    {{"DisplayName", "Zorvane"},
                     {"DisplayVersion", setup.version},
                     {"Publisher", "The Zorvane developers"},
                     {"DisplayIcon", folder + "\\Zorvane.exe,0"},
                     {"InstallLocation", folder},
                     {"UninstallString", e2e::Quoted(folder + "\\uninstall.exe")},
                     {"QuietUninstallString", e2e::Quoted(folder + "\\uninstall.exe") + " /S"}});
    E2E_CHECK_EQ(e2e::ReadDword(kHklm, kUninstallKey, "NoModify"), std::optional<DWORD>(1));
    E2E_CHECK_EQ(e2e::ReadDword(kHklm, kUninstallKey, "NoRepair"), std::optional<DWORD>(1));
    std::optional<DWORD> size = e2e::ReadDword(kHklm, kUninstallKey, "EstimatedSize");
    e2e::Note("EstimatedSize " + e2e::Show(size) + " KB");
    E2E_CHECK_BETWEEN(size, 100u, 4999u);
    E2E_CHECK_EQ(e2e::ReadString(kHklm, test_keys::kRun, "Vigilo"),
                 std::optional<std::string>(e2e::Quoted(folder + "\\vigilo.exe")));
}

// The companion comes from the installed folder: at logon through its entry, and from
// Zorvane's numeric argument at the user's level, through the desktop shell, or by
// Zorvane itself where no desktop shell answers (here: COM's automation DLL cannot load).
void CompanionStartsFromTheInstalledFolder() {
    enum class StartedBy { Itself, DesktopShell, Zorvane };
    struct Start {
        const char* how;
        std::string command;
        const char* unavailable;  // a DLL Zorvane cannot load for this start
        StartedBy by;
    };
    const Start starts[] = {
        {"logon entry", e2e::ReadString(kHklm, test_keys::kRun, "Vigilo").value_or(""), nullptr,
         StartedBy::Itself},
        {"Zorvane.exe 1", e2e::AppCommand("Zorvane.exe", "1"), nullptr, StartedBy::DesktopShell},
        {"Zorvane.exe 1 without COM", e2e::AppCommand("Zorvane.exe", "1"), "oleaut32",
         StartedBy::Zorvane},
    };
    for (const Start& start : starts) {
        e2e::Context in(start.how);
        if (start.unavailable != nullptr) {
            E2E_CHECK(e2e::KeepFromLoading("Zorvane.exe", start.unavailable));
        }
        e2e::ChildProcess started(start.command);
        std::optional<Companion> companion = FindCompanion();
        e2e::ForgetWineSettings("Zorvane.exe");
        if (!E2E_CHECK(companion.has_value())) {
            continue;
        }
        E2E_CHECK_EQ(companion->image, e2e::Installed("vigilo.exe"));
        switch (start.by) {
            case StartedBy::Itself:
                E2E_CHECK_EQ(companion->id, started.id());
                break;
            case StartedBy::DesktopShell:
                E2E_CHECK_EQ(companion->parent_name, std::string("explorer.exe"));
                break;
            case StartedBy::Zorvane:
                E2E_CHECK_EQ(companion->parent_id, started.id());
                break;
        }
        E2E_CHECK(CloseCompanion(*companion));
    }
}

// Over a running companion: it is closed through its window, and the user's files stay.
void UpgradesKeepingTheSettings(const Setup& setup) {
    e2e::Context in("upgrade");
    const std::string settings = "ConnectionType,3\r\nOptiMode,0\r\n";
    const std::string ping = zv::test_texts::PingFile(false, "ping.zorvane.test", 12, true);
    E2E_CHECK(e2e::WriteWholeFile(e2e::Installed("Zorvane.cfg"), settings));
    E2E_CHECK(e2e::WriteWholeFile(e2e::Installed("Ping.cfg"), ping));
    e2e::ChildProcess logon(e2e::Quoted(e2e::Installed("vigilo.exe")));
    std::optional<Companion> companion = FindCompanion();
    HANDLE running =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, companion ? companion->id : 0);
    E2E_CHECK_EQ(RunSetup(setup), std::optional<DWORD>(0));
    DWORD code = 1;
    if (E2E_CHECK(running != nullptr)) {
        E2E_CHECK_EQ(WaitForSingleObject(running, 0), DWORD{WAIT_OBJECT_0});  // ended of itself
        E2E_CHECK(GetExitCodeProcess(running, &code));
        E2E_CHECK_EQ(code, DWORD{0});
        CloseHandle(running);
    }
    E2E_CHECK_EQ(e2e::ReadWholeFile(e2e::Installed("Zorvane.cfg")),
                 std::optional<std::string>(settings));
    E2E_CHECK_EQ(e2e::ReadWholeFile(e2e::Installed("Ping.cfg")), std::optional<std::string>(ping));
}

// A companion the setups cannot close, as one in another user's session is (Wine runs one
// session, so it is this driver, run from the installed vigilo.exe and waiting): the setup
// and the uninstaller each stop with nothing changed; once it ends, the setup goes through.
void ACopyThatDoesNotCloseStopsTheSetups(const Setup& setup) {
    e2e::Context in("a copy that does not close");
    E2E_CHECK(CopyFileA(e2e::DriverPath().c_str(), e2e::Installed("vigilo.exe").c_str(), FALSE));
    e2e::ChildProcess held(e2e::Quoted(e2e::Installed("vigilo.exe")) + " --hold");
    const std::optional<std::string> holding = e2e::ReadWholeFile(e2e::DriverPath());
    E2E_CHECK_EQ(RunSetup(setup), std::optional<DWORD>(2));
    E2E_CHECK(e2e::ReadWholeFile(e2e::Installed("vigilo.exe")) == holding);
    // In place (_?=), so that its own exit code is seen.
    e2e::ChildProcess uninstall(e2e::Quoted(e2e::Installed("uninstall.exe")) +
                                " /S _?=" + e2e::AppDirectory());
    E2E_CHECK_EQ(uninstall.WaitForExit(kSetupTimeoutMs), std::optional<DWORD>(2));
    E2E_CHECK(e2e::FileIsPresent(e2e::Installed("Zorvane.exe")));
    E2E_CHECK(e2e::RegistryKeyExists(kHklm, kUninstallKey));
    held.Terminate();
    E2E_CHECK_EQ(held.WaitForExit(), std::optional<DWORD>(1));
    E2E_CHECK_EQ(RunSetup(setup), std::optional<DWORD>(0));
    E2E_CHECK(e2e::ReadWholeFile(e2e::Installed("vigilo.exe")) ==
              e2e::ReadWholeFile(setup.built + "\\vigilo.exe"));
}

// Restore and then the saved choice applied as a deployment script does; the uninstall is
// to put back the registry of before the first of them, not the defaults Restore writes.
e2e::RegistrySnapshot AppliesFromTheCommandLine() {
    e2e::Context in("/restore, then /apply");
    e2e::RegistrySnapshot before = e2e::TcpipRegistry();
    E2E_CHECK_EQ(e2e::RunInstalled("/restore"), std::optional<DWORD>(0));
    E2E_CHECK(!e2e::Differences(before, e2e::TcpipRegistry()).empty());
    E2E_CHECK(
        e2e::WriteWholeFile(e2e::Installed("Zorvane.cfg"), "ConnectionType,3\r\nOptiMode,0\r\n"));
    E2E_CHECK_EQ(e2e::RunInstalled("/apply"), std::optional<DWORD>(0));
    return before;
}

void UninstallsSilently(const e2e::RegistrySnapshot& before_zorvane) {
    e2e::Context in("silent uninstall with /RESTORE");
    e2e::LeaveUserTraces();
    e2e::ChildProcess logon(e2e::Quoted(e2e::Installed("vigilo.exe")));
    E2E_CHECK(FindCompanion().has_value());
    // The uninstaller hands over to a copy of itself outside the folder and ends at once.
    e2e::ChildProcess uninstall(e2e::Quoted(e2e::Installed("uninstall.exe")) + " /S /RESTORE");
    E2E_CHECK_EQ(uninstall.WaitForExit(kSetupTimeoutMs), std::optional<DWORD>(0));
    E2E_CHECK(e2e::WaitForChildrenOf(uninstall.id(), kSetupTimeoutMs));
    E2E_CHECK(!e2e::FileIsPresent(e2e::AppDirectory()));
    e2e::CheckTcpipRegistry(before_zorvane);
    E2E_CHECK(!e2e::FileIsPresent(ShortcutFolder()));
    E2E_CHECK(!e2e::RegistryKeyExists(kHklm, kUninstallKey));
    E2E_CHECK(!e2e::ReadRegistryValue(kHklm, test_keys::kRun, "Vigilo").has_value());
    e2e::CheckNoUserTraces();
    E2E_CHECK_EMPTY(e2e::ProcessesNamed("vigilo.exe"));
    E2E_CHECK_EMPTY(e2e::ProcessesNamed("Zorvane.exe"));
}

// SETUP.exe VERSION BUILT_APP_FOLDER
bool InstallsAndUninstalls(const e2e::Arguments& words) {
    if (words.size() < 3) {
        return false;
    }
    Setup setup{words[0], words[1], words[2]};
    InstallsSilently(setup);
    CompanionStartsFromTheInstalledFolder();
    UpgradesKeepingTheSettings(setup);
    ACopyThatDoesNotCloseStopsTheSetups(setup);
    UninstallsSilently(AppliesFromTheCommandLine());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Run as the installed vigilo.exe, this program stands in for a companion that will not close.
    if (argc == 2 && std::string(argv[1]) == "--hold") {
        Sleep(kSetupTimeoutMs);
        return 0;
    }
    return e2e::RunNamedScenario(
        {{"", "SETUP.exe VERSION BUILT_APP_FOLDER", InstallsAndUninstalls}}, argc, argv);
}
