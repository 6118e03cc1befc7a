// Planted files are never used: stand-ins named rundll32.exe, regedit.exe and after the
// network and sound DLLs, placed beside the programs and in the current folder they start
// in, must never run or be loaded while the commands that start or load the real ones run:
// Backup (regedit) and a Control Panel command (rundll32) in Zorvane, the companion's probe
// and its Ping Now with the sound (the network DLLs, winmm). Each stand-in leaves a mark file when
// it runs or is loaded; the real DLLs must be loaded from the system folder.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/program_texts.h"
#include "fakes/lower_case.h"
#include "support/check.h"
#include "support/files.h"
#include "support/message_boxes.h"
#include "support/process.h"
#include "support/scenario_runner.h"
#include "support/windows_on_screen.h"
#include "support/wine_settings.h"
#include "win32/platform/registry_tip_option.h"
#include "win32/platform/system_folders.h"
#include "win32/vigilo/vigilo_ids.h"
#include "win32/zorvane/zorvane_ids.h"

namespace e2e = zv::e2e;
namespace frm_main = zv::win32::frm_main;

namespace {

struct StandIn {
    const char* name;
    const char* file;  // built beside this driver
};
const StandIn kStandIns[] = {
    {"rundll32.exe", "planted_program.exe"}, {"regedit.exe", "planted_program.exe"},
    {"iphlpapi.dll", "planted_library.dll"}, {"icmp.dll", "planted_library.dll"},
    {"wsock32.dll", "planted_library.dll"},  {"ws2_32.dll", "planted_library.dll"},
    {"winmm.dll", "planted_library.dll"},
};
const std::string kCurrentFolder = "C:\\planted here";
const std::string kBackupPath = "C:\\planted backup.reg";
constexpr int kFileNameBox = 0x47c;  // the file-name box of the save dialog

using zv::testing::Lower;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void Plant(const std::string& folder) {
    e2e::Context in("planting in " + folder);
    for (const StandIn& stand_in : kStandIns) {
        E2E_CHECK(CopyFileA((e2e::DriverFolder() + "\\" + stand_in.file).c_str(),
                            (folder + "\\" + stand_in.name).c_str(), FALSE));
    }
}

// The marks in a folder: "<stand-in>: <the program that ran or loaded it>".
std::vector<std::string> Marks(const std::string& folder) {
    std::vector<std::string> marks;
    for (const std::string& name : e2e::FileNames(folder, "*.mark")) {
        marks.push_back(name + ": " + e2e::ReadWholeFile(folder + "\\" + name).value_or("?"));
    }
    return marks;
}

void RemoveMarks(const std::string& folder) {
    for (const StandIn& stand_in : kStandIns) {
        e2e::RemoveFile(folder + "\\" + stand_in.name + ".mark");
    }
}

// The stand-ins must leave their marks when used, or their silence would prove nothing: the
// program run by its path, and the library found by a search that reaches the planted
// folder before the system folder.
void StandInsLeaveMarks() {
    e2e::Context in("stand-ins used on purpose");
    e2e::ChildProcess program("\"" + kCurrentFolder + "\\regedit.exe\"");
    E2E_CHECK_EQ(program.WaitForExit(), std::optional<DWORD>(0));
    SetDllDirectoryA(kCurrentFolder.c_str());
    HMODULE library = LoadLibraryA("winmm.dll");
    SetDllDirectoryA(nullptr);
    E2E_CHECK(library != nullptr);
    FreeLibrary(library);
    std::vector<std::string> marks = Marks(kCurrentFolder);
    E2E_CHECK_EQ(marks.size(), 2u);
    RemoveMarks(kCurrentFolder);
}

// The full paths of the DLLs of planted names that a process has loaded.
std::vector<std::string> PlantedNamesLoaded(DWORD process_id) {
    std::vector<std::string> paths;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id);
    if (process == nullptr) {
        return paths;
    }
    HMODULE modules[512];
    DWORD bytes = 0;
    if (EnumProcessModules(process, modules, sizeof(modules), &bytes)) {
        for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
            char path[MAX_PATH] = {};
            GetModuleFileNameExA(process, modules[i], path, MAX_PATH);
            for (const StandIn& stand_in : kStandIns) {
                if (EndsWith(Lower(path), std::string("\\") + stand_in.name)) {
                    paths.push_back(path);
                }
            }
        }
    }
    CloseHandle(process);
    return paths;
}

// Waits until the process has loaded a DLL of that name, and checks that every planted
// name it has loaded came from the system folder.
void CheckLoadedFromSystemFolder(DWORD process_id, const std::string& expected) {
    e2e::Context in("DLLs of process " + std::to_string(process_id));
    std::vector<std::string> loaded;
    E2E_CHECK(e2e::WaitUntil(
        [&] {
            loaded = PlantedNamesLoaded(process_id);
            return std::any_of(loaded.begin(), loaded.end(), [&](const std::string& path) {
                return EndsWith(Lower(path), expected);
            });
        },
        30000));
    for (const std::string& path : loaded) {
        e2e::Note("loaded " + path);
        E2E_CHECK_EQ(Lower(e2e::FolderOf(path)), Lower(zv::win32::SystemFolder()));
    }
}

void PingNowWithSound(DWORD companion_id) {
    e2e::Context in("Ping Now with sound");
    HWND monitor = e2e::WaitForWindow({companion_id, "ZorvaneVigilo", "Vigilo", false});
    if (!E2E_CHECK(monitor != nullptr)) {
        return;
    }
    PostMessageA(monitor, WM_COMMAND, zv::win32::frm_vigilo::menu_ping_now, 0);
    CheckLoadedFromSystemFolder(companion_id, "\\winmm.dll");
}

void ControlPanelApplet(HWND main) {
    e2e::Context in("Internet Options");
    PostMessageA(main, WM_COMMAND, frm_main::menu_internet, 0);
    E2E_CHECK(e2e::WaitForProcessNamed("rundll32.exe"));
    Sleep(500);  // lets the applet start, had it been the planted one
    e2e::TerminateProcessesNamed("rundll32.exe");
}

void Backup(HWND main, DWORD process_id) {
    e2e::Context in("Backup");
    e2e::RemoveFile(kBackupPath);
    PostMessageA(main, WM_COMMAND, frm_main::menu_registry_backup, 0);
    HWND dialog = e2e::WaitForWindow({process_id, "#32770", "Registry Backup", true});
    if (!E2E_CHECK(dialog != nullptr)) {
        return;
    }
    SendMessageA(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(kBackupPath.c_str()));
    e2e::PostClick(dialog, IDOK);
    // The answer comes once regedit has exported the whole registry: seconds.
    auto box = e2e::WaitForMessageBox(process_id, 90000, dialog);
    if (E2E_CHECK(box.has_value())) {
        e2e::Note("Backup said: " + box->text);
        e2e::AnswerMessageBox(*box, IDOK);
    }
    E2E_CHECK(e2e::FileIsPresent(kBackupPath));  // the real regedit wrote it
}

// Wine loads its own build of a system DLL whatever file a program names, unless told to
// prefer native DLLs of those names; then it looks for them as Windows does and runs a
// planted copy it finds first. Told in this run's registry, for the driver and the programs.
void PreferNativeDlls() {
    for (const StandIn& stand_in : kStandIns) {
        const std::string name = stand_in.name;
        if (EndsWith(name, ".dll")) {
            E2E_CHECK(e2e::PreferNativeThenBuiltin(name.substr(0, name.size() - 4)));
        }
    }
}

void PlantedFilesAreNeverUsed() {
    PreferNativeDlls();
    std::string app = e2e::AppDirectory();
    CreateDirectoryA(kCurrentFolder.c_str(), nullptr);
    Plant(app);
    Plant(kCurrentFolder);
    StandInsLeaveMarks();
    // The programs start in the planted folder, as from a download folder.
    E2E_CHECK(SetCurrentDirectoryA(kCurrentFolder.c_str()));
    // The companion reads this at its start: Ping Now pings a host the sandbox maps to
    // loopback, then plays the sound. No tip of the day stands before the main window.
    E2E_CHECK(e2e::WriteWholeFile(e2e::PingFilePath(),
                                  zv::test_texts::PingFile(false, "ping.zorvane.test", 5, true)));
    zv::win32::RegistryTipOption().Write("0");
    {
        e2e::ChildProcess zorvane(e2e::AppCommand("Zorvane.exe"));
        HWND main = e2e::WaitForWindow({zorvane.id(), frm_main::kClassName, "Zorvane"});
        if (E2E_CHECK(main != nullptr)) {
            ControlPanelApplet(main);
            Backup(main, zorvane.id());
        }
        // The companion, started by Zorvane's window, probes its host at once.
        E2E_CHECK(e2e::WaitForProcessNamed("vigilo.exe"));
        std::vector<DWORD> companions = e2e::ProcessesNamed("vigilo.exe");
        if (E2E_CHECK(!companions.empty())) {
            {
                e2e::Context in("companion's probe");
                CheckLoadedFromSystemFolder(companions[0], "\\wsock32.dll");
            }
            PingNowWithSound(companions[0]);
        }
    }
    e2e::TerminateProcessesNamed("vigilo.exe");
    for (const std::string& folder : {app, kCurrentFolder}) {
        e2e::Context in("marks in " + folder);
        std::vector<std::string> marks = Marks(folder);
        for (const std::string& mark : marks) {
            e2e::Note(mark);
        }
        E2E_CHECK_EQ(marks.size(), 0u);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return e2e::RunNamedScenario({{"", PlantedFilesAreNeverUsed}}, argc, argv);
}
