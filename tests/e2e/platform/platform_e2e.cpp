// The Win32 platform layer on real Windows file and process services: what FileExists
// accepts, that an atomic write replaces the file and leaves no temporary file behind,
// that Ping.cfg is saved in a program folder where no file can be made, the program
// folder, the single-copy rule, process start, and that a set of functions of a system
// library counts as found only when every one of them is there.
#include <windows.h>

#include <string>

#include "fakes/program_texts.h"
#include "ping/ping_settings.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "support/sandbox_control.h"
#include "support/scenario_runner.h"
#include "win32/platform/program_directory.h"
#include "win32/platform/run_command.h"
#include "win32/platform/single_instance.h"
#include "win32/platform/system_library.h"
#include "win32/platform/win32_file_system.h"

namespace e2e = zv::e2e;

namespace {

void CheckFileExists(zv::win32::Win32FileSystem& files, const std::string& folder) {
    e2e::Context in("FileExists");
    std::string plain = folder + "\\plain.cfg";
    std::string hidden = folder + "\\hidden.cfg";
    std::string system = folder + "\\system.cfg";
    std::string directory = folder + "\\folder.cfg";
    E2E_CHECK(e2e::WriteWholeFile(plain, "x"));
    E2E_CHECK(e2e::WriteWholeFile(hidden, "x"));
    E2E_CHECK(e2e::WriteWholeFile(system, "x"));
    E2E_CHECK(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    E2E_CHECK(SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM));
    E2E_CHECK(CreateDirectoryA(directory.c_str(), nullptr));
    E2E_CHECK(files.FileExists(plain));
    E2E_CHECK(!files.FileExists(hidden));
    E2E_CHECK(!files.FileExists(system));
    E2E_CHECK(!files.FileExists(directory));
    E2E_CHECK(!files.FileExists(folder + "\\missing.cfg"));
}

void CheckAtomicWrite(zv::win32::Win32FileSystem& files, const std::string& folder) {
    e2e::Context in("WriteFileAtomic");
    std::string path = folder + "\\Zorvane.cfg";
    const std::string first("ConnectionType,0\r\nOptiMode,0\r\n");
    const std::string second("ConnectionType,4\r\nOptiMode,0\r\n\0tail", 36);
    E2E_CHECK(files.WriteFileAtomic(path, first));
    E2E_CHECK_EQ(files.ReadFile(path), std::optional<std::string>(first));
    E2E_CHECK(files.WriteFileAtomic(path, second));
    E2E_CHECK_EQ(files.ReadFile(path), std::optional<std::string>(second));
    E2E_CHECK_EQ(e2e::ReadWholeFile(path), std::optional<std::string>(second));
    E2E_CHECK_EQ(e2e::FileNames(folder).size(), 1u);  // no temporary file left
    E2E_CHECK(!files.WriteFileAtomic(folder + "\\missing\\Zorvane.cfg", first));
    E2E_CHECK(!files.ReadFile(folder + "\\missing.cfg"));
    E2E_CHECK(CreateDirectoryA((folder + "\\taken.cfg").c_str(), nullptr));
    E2E_CHECK(!files.WriteFileAtomic(folder + "\\taken.cfg", first));
    E2E_CHECK_EQ(e2e::FileNames(folder).size(), 2u);  // a failed write leaves nothing either
}

// An installed copy as the users have it: nothing can be made in the program folder, while
// Ping.cfg itself may be changed.
void CheckPingCfgInLockedFolder(zv::win32::Win32FileSystem& files) {
    e2e::Context in("Ping.cfg in a folder that refuses new files");
    std::string folder = e2e::AppDirectory();
    std::string path = folder + "\\Ping.cfg";
    E2E_CHECK(
        e2e::WriteWholeFile(path, zv::test_texts::PingFile(true, "www.wikipedia.org", 5, false)));
    std::vector<std::string> entries = e2e::FileNames(folder);
    if (!E2E_CHECK(e2e::RequestFromSandbox("lock-app"))) {
        return;
    }
    E2E_CHECK(!files.WriteFileAtomic(folder + "\\new.cfg", "x"));  // the lock holds
    const zv::ping::PingSettings longer{false, "a-much-longer-host-name.example.test", "60", true};
    const zv::ping::PingSettings shorter{false, "h", "1", false};
    for (const auto& settings : {longer, shorter}) {
        e2e::Context host(settings.PingHost);
        E2E_CHECK(zv::ping::SavePingCfg(files, folder, settings));
        E2E_CHECK_EQ(e2e::ReadWholeFile(path),
                     std::optional<std::string>(zv::ping::FormatPingCfg(settings)));
    }
    E2E_CHECK(!files.RewriteFile(folder + "\\missing.cfg", "x"));
    E2E_CHECK_EQ(e2e::FileNames(folder).size(), entries.size());
    E2E_CHECK(e2e::RequestFromSandbox("unlock-app"));
}

void CheckProgramDirectory() {
    e2e::Context in("ProgramDirectory");
    std::string folder = zv::win32::ProgramDirectory();
    E2E_CHECK_EQ(folder, e2e::DriverFolder());
    if (E2E_CHECK(!folder.empty())) {
        E2E_CHECK(folder.back() != '\\');
    }
}

void CheckSingleInstance() {
    e2e::Context in("SingleInstance");
    zv::win32::SingleInstance first("Zorvane.PlatformTest");
    E2E_CHECK(first.IsFirstCopy());
    {
        zv::win32::SingleInstance second("Zorvane.PlatformTest");
        E2E_CHECK(!second.IsFirstCopy());
    }
}

void CheckRunCommand() {
    e2e::Context in("RunCommand");
    E2E_CHECK(zv::win32::RunCommand("\"C:\\no such folder\\none.exe\"", SW_HIDE) != 0);
    e2e::TerminateProcessesNamed("notepad.exe");
    E2E_CHECK_EQ(zv::win32::RunCommand("notepad.exe", SW_SHOWMINNOACTIVE), 0u);
    E2E_CHECK(e2e::WaitForProcessNamed("notepad.exe"));
    e2e::TerminateProcessesNamed("notepad.exe");
}

// A set with one function missing, wherever it stands, must not count as found: the echo
// service then falls back to another library.
void CheckFindAll() {
    e2e::Context in("FindAll");
    using PlayFn = BOOL(WINAPI*)(LPCSTR, UINT);
    PlayFn play = nullptr;
    PlayFn missing = nullptr;
    zv::win32::SystemLibrary winmm("winmm.dll");
    E2E_CHECK(winmm.FindAll(play, "sndPlaySoundA"));
    E2E_CHECK(play != nullptr);
    E2E_CHECK(!winmm.FindAll(missing, "NoSuchFunction", play, "sndPlaySoundA"));
    E2E_CHECK(!winmm.FindAll(play, "sndPlaySoundA", missing, "NoSuchFunction"));
    E2E_CHECK(!zv::win32::SystemLibrary("no-such-library.dll").FindAll(play, "sndPlaySoundA"));
}

void ChecksThePlatformLayer() {
    std::string folder = e2e::EnvironmentVariable("TEMP") + "\\zv-platform";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string write_folder = folder + "\\write";
    CreateDirectoryA(write_folder.c_str(), nullptr);

    zv::win32::Win32FileSystem files;
    CheckFileExists(files, folder);
    CheckAtomicWrite(files, write_folder);
    CheckPingCfgInLockedFolder(files);
    CheckProgramDirectory();
    CheckSingleInstance();
    CheckRunCommand();
    CheckFindAll();
}

}  // namespace

int main(int argc, char** argv) {
    return e2e::RunNamedScenario({{"", ChecksThePlatformLayer}}, argc, argv);
}
