// Zorvane.exe /apply and /restore as an administrator's script runs them, against the
// real registry: each writes exactly what the window's Apply or Restore answered Yes
// writes, says so on the standard output it was given, and ends with its code; a damaged
// Zorvane.cfg, bad arguments and a running window are refused with nothing written.
#include <windows.h>

#include <string>

#include "../main_window/scenarios.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "tools_scenarios.h"
#include "win32/zorvane/frm_main_chrome_ids.h"
#include "win32/zorvane/frm_main_ids.h"

namespace zv::e2e {
namespace {

const char kManualFile[] =
    "ConnectionType,2\r\nOptiMode,1\r\nMTU,#TRUE#,1500\r\nRWIN,#TRUE#,8,96000\r\n"
    "TTL,#TRUE#,128\r\nSKA,#TRUE#,9,600000\r\nNDI,#TRUE#,5,32\r\nPMTU,#TRUE#\r\n"
    "BlackHole,#FALSE#\r\nMSCPS0,4,6\r\nMSCPS1,2,4\r\n";
const char kRestoreQuestion[] =
    "This Program will restore all Windows settings.\r\nWould you like to Continue?";
const char kRestoreCaption[] = "Restore Default Settings";

struct Run {
    std::optional<DWORD> exit_code;
    std::string output;
};

// Zorvane.exe with its standard output on a pipe, as a deployment tool starts it.
Run RunCapturingOutput(const std::string& arguments) {
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    Run run;
    if (!CreatePipe(&read_end, &write_end, &inherited, 0)) {
        return run;
    }
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write_end;
    PROCESS_INFORMATION process{};
    std::string command_line = AppCommand("Zorvane.exe", arguments);
    bool started = CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &process);
    CloseHandle(write_end);
    if (started) {
        DWORD code = 0;
        if (WaitForSingleObject(process.hProcess, kDefaultTimeoutMs) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process.hProcess, &code)) {
            run.exit_code = code;
        } else {
            TerminateProcess(process.hProcess, 1);
        }
        char buffer[1024];
        DWORD read = 0;
        while (ReadFile(read_end, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
            run.output.append(buffer, read);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(read_end);
    return run;
}

void RestoreFromTheWindow() {
    ZorvaneSession z;
    if (!E2E_CHECK(z.ok())) {
        return;
    }
    z.PostCommand(win32::frm_main::mnuRestore);
    z.Answer(kRestoreQuestion, IDYES, kRestoreCaption);
    z.Answer("Windows default settings were successfully restored.", IDOK, kRestoreCaption);
    E2E_CHECK(z.Close());
}

// The switch writes what the window wrote: the window's change is made and undone, then
// the switch's is made, and both the registry and Zorvane.cfg must match.
void SwitchWritesAsTheWindow(const char* word, void (*from_the_window)(),
                             const std::string& done_text) {
    Context in(word);
    from_the_window();
    const RegistrySnapshot by_window = TouchedRegistry();
    const std::optional<std::string> file_by_window = ReadWholeFile(SettingsFilePath());
    E2E_CHECK_EQ(RunCapturingOutput("/undo").exit_code, std::optional<DWORD>(0));
    Run run = RunCapturingOutput(word);
    E2E_CHECK_EQ(run.exit_code, std::optional<DWORD>(0));
    E2E_CHECK_EQ(run.output.find(done_text), size_t{0});
    CheckSame(by_window, TouchedRegistry());
    E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()), file_by_window);
}

void RefusalsWriteNothing() {
    struct Refusal {
        const char* context;
        const char* settings;  // Zorvane.cfg before the run
        const char* arguments;
        DWORD exit_code;
        const char* output;  // how the output begins
    };
    const Refusal refusals[] = {
        {"damaged Zorvane.cfg", "ConnectionType,2\r\nOptiMode,1\r\n", "/apply", 2, "The file\r\n"},
        {"an argument too many", kManualFile, "/apply now", 2, "Usage: Zorvane.exe /apply"},
        {"the usage", kManualFile, "/?", 0, "Usage: Zorvane.exe /apply"},
    };
    for (const Refusal& r : refusals) {
        Context in(r.context);
        E2E_CHECK(WriteWholeFile(SettingsFilePath(), r.settings));
        const RegistrySnapshot before = TouchedRegistry();
        Run run = RunCapturingOutput(r.arguments);
        E2E_CHECK_EQ(run.exit_code, std::optional<DWORD>(r.exit_code));
        E2E_CHECK_EQ(run.output.find(r.output), size_t{0});
        CheckSame(before, TouchedRegistry());
        E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()), std::optional<std::string>(r.settings));
    }
    Context in("the window open");
    ZorvaneSession z;
    const RegistrySnapshot before = TouchedRegistry();
    E2E_CHECK_EQ(RunCapturingOutput("/restore").exit_code, std::optional<DWORD>(1));
    CheckSame(before, TouchedRegistry());
    E2E_CHECK(z.Close());
}

}  // namespace

void RunCommandLineScenario(const ToolsRelease& release) {
    PrepareMachine(release);
    E2E_CHECK(WriteWholeFile(SettingsFilePath(), kManualFile));
    SwitchWritesAsTheWindow("/apply", ApplyFromTheWindow, "The settings of\r\n");
    SwitchWritesAsTheWindow("/restore", RestoreFromTheWindow,
                            "The Windows default settings were restored.");
    RefusalsWriteNothing();
}

}  // namespace zv::e2e
