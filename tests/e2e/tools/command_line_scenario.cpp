// Zorvane.exe /apply and /restore as an administrator's script runs them, against the
// real registry: each writes exactly what the window's Apply or Restore answered Yes
// writes, says so on the standard output it was given, and ends with its code; a missing or
// damaged Zorvane.cfg, bad or mistyped arguments and a running copy (in this session or
// another) are refused with nothing written.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "tools_scenarios.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

const char kRestoreCaption[] = "Restore Default Settings";

void RestoreFromTheWindow() {
    ZorvaneSession z;
    if (!E2E_CHECK(z.ok())) {
        return;
    }
    z.PostCommand(win32::frm_main::menu_restore);
    z.Answer(kRestoreQuestion, IDYES, kRestoreCaption);
    z.Answer(kRestoredText, IDOK, kRestoreCaption);
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
    E2E_CHECK_EQ(RunCapturingOutput("Zorvane.exe", "/undo").exit_code, std::optional<DWORD>(0));
    CapturedRun run = RunCapturingOutput("Zorvane.exe", word);
    E2E_CHECK_EQ(run.exit_code, std::optional<DWORD>(0));
    E2E_CHECK_STARTS_WITH(run.output, done_text);
    CheckSame(by_window, TouchedRegistry());
    E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()), file_by_window);
}

// Zorvane.cfg is written as given, or removed when there is none.
bool PutSettingsFile(const char* settings) {
    return settings != nullptr ? WriteWholeFile(SettingsFilePath(), settings)
                               : RemoveFile(SettingsFilePath());
}

void RefusalsWriteNothing() {
    struct Refusal {
        const char* context;
        const char* settings;  // Zorvane.cfg before the run, nullptr for none
        const char* arguments;
        DWORD exit_code;
        std::string output;  // how the output begins
    };
    const std::string no_file = "There is no Zorvane.cfg to apply in " + AppDirectory();
    const Refusal refusals[] = {
        {"damaged Zorvane.cfg", "ConnectionType,2\r\nOptiMode,1\r\n", "/apply", 2, "The file\r\n"},
        {"no Zorvane.cfg", nullptr, "/apply", 2, no_file},
        {"an argument too many", kManualFile, "/apply now", 2, "Usage: Zorvane.exe /apply"},
        {"a mistyped switch", kManualFile, "-aply", 2, "Usage: Zorvane.exe /apply"},
        {"the usage", kManualFile, "/?", 0, "Usage: Zorvane.exe /apply"},
    };
    for (const Refusal& r : refusals) {
        Context in(r.context);
        E2E_CHECK(PutSettingsFile(r.settings));
        const RegistrySnapshot before = TouchedRegistry();
        CapturedRun run = RunCapturingOutput("Zorvane.exe", r.arguments);
        E2E_CHECK_EQ(run.exit_code, std::optional<DWORD>(r.exit_code));
        E2E_CHECK_EQ(run.output.substr(0, r.output.size()), r.output);
        CheckSame(before, TouchedRegistry());
        E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()),
                     r.settings ? std::optional<std::string>(r.settings) : std::nullopt);
    }
    E2E_CHECK(PutSettingsFile(kManualFile));
    Context in("the window open");
    ZorvaneSession z;
    const RegistrySnapshot before = TouchedRegistry();
    E2E_CHECK_EQ(RunCapturingOutput("Zorvane.exe", "/restore").exit_code, std::optional<DWORD>(1));
    CheckSame(before, TouchedRegistry());
    E2E_CHECK(z.Close());
}

// A copy in another session holds the lock of every session; Wine runs one session, so the
// lock is made here as that copy would make it.
void ACopyInAnotherSessionRefuses() {
    Context in("a copy in another session");
    HANDLE other_session = CreateMutexA(nullptr, FALSE, "Global\\Zorvane.MainProgram");
    const RegistrySnapshot before = TouchedRegistry();
    E2E_CHECK_EQ(RunCapturingOutput("Zorvane.exe", "/restore").exit_code, std::optional<DWORD>(1));
    CheckSame(before, TouchedRegistry());
    CloseHandle(other_session);
}

// A change of another process (the Network Stack window's worker, say) owns the change
// lock: a switch that writes is refused before it writes, one that only reads runs.
void AChangeOfAnotherProcessRefuses() {
    Context in("a change of another process runs");
    HANDLE change = CreateMutexA(nullptr, TRUE, "Global\\Zorvane.Changes");
    const RegistrySnapshot before = TouchedRegistry();
    CapturedRun run = RunCapturingOutput("Zorvane.exe", "/restore");
    E2E_CHECK_EQ(run.exit_code, std::optional<DWORD>(1));
    E2E_CHECK_EQ(run.output.rfind("Another change of Zorvane's is still being made.", 0),
                 size_t{0});
    CheckSame(before, TouchedRegistry());
    E2E_CHECK_EQ(RunCapturingOutput("Zorvane.exe", "/?").exit_code, std::optional<DWORD>(0));
    ReleaseMutex(change);
    CloseHandle(change);
}

// The threads of the desktop shell that serve its COM objects held still while the object
// lives: an Explorer that takes the companion's start and never answers. Under Wine the
// threads that own its windows (the desktop, the tray) run on: every program's start needs
// the desktop window.
class HungExplorer {
  public:
    HungExplorer() { HoldNewThreads(); }
    ~HungExplorer() {
        for (DWORD id : held_) {
            HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, id);
            if (thread != nullptr) {
                ResumeThread(thread);
                CloseHandle(thread);
            }
        }
    }
    HungExplorer(const HungExplorer&) = delete;
    HungExplorer& operator=(const HungExplorer&) = delete;

    // Also the threads it started since: it starts one for a call when the others are busy.
    void HoldNewThreads() {
        const std::vector<DWORD> explorers = ProcessesNamed("explorer.exe");
        const std::vector<DWORD> window_threads = WindowThreads();
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        THREADENTRY32 entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Thread32First(snapshot, &entry); more;
             more = Thread32Next(snapshot, &entry)) {
            if (!Among(explorers, entry.th32OwnerProcessID) ||
                Among(window_threads, entry.th32ThreadID) || Among(held_, entry.th32ThreadID)) {
                continue;
            }
            HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
            if (thread != nullptr && SuspendThread(thread) != DWORD(-1)) {
                held_.push_back(entry.th32ThreadID);
            }
            if (thread != nullptr) {
                CloseHandle(thread);
            }
        }
        CloseHandle(snapshot);
    }

    // True when the process ends within the time, Explorer's new threads held meanwhile.
    bool Ends(ChildProcess& process, DWORD timeout_ms) {
        for (DWORD waited = 0; waited < timeout_ms; waited += kPollMs) {
            HoldNewThreads();
            if (WaitForSingleObject(process.handle(), kPollMs) == WAIT_OBJECT_0) {
                return true;
            }
        }
        return false;
    }

  private:
    static constexpr DWORD kPollMs = 50;

    static bool Among(const std::vector<DWORD>& ids, DWORD id) {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }

    static std::vector<DWORD> WindowThreads() {
        std::vector<DWORD> threads{GetWindowThreadProcessId(GetDesktopWindow(), nullptr)};
        for (HWND parent : {HWND(nullptr), HWND_MESSAGE}) {
            for (HWND window = FindWindowExA(parent, nullptr, nullptr, nullptr); window;
                 window = FindWindowExA(parent, window, nullptr, nullptr)) {
                threads.push_back(GetWindowThreadProcessId(window, nullptr));
            }
        }
        return threads;
    }

    std::vector<DWORD> held_;
};

// The companion's start waits for Explorer on a thread of its own, and only a few seconds
// at the end: neither the launcher nor the closed window stays alive with the lock. The
// launcher never takes it: a switch that writes runs while it waits.
void AHungExplorerKeepsNoCopyAlive() {
    Context in("Explorer not answering");
    constexpr DWORD kEnds = 15000;  // the wait at the end, with room for a slow sandbox
    {
        Context launcher("Zorvane.exe 1");
        HungExplorer hung;
        ChildProcess starter(AppCommand("Zorvane.exe", "1"), SW_HIDE);
        Sleep(500);
        E2E_CHECK_EQ(RunCapturingOutput("Zorvane.exe", "/restore").exit_code,
                     std::optional<DWORD>(0));
        E2E_CHECK(WaitForSingleObject(starter.handle(), 0) == WAIT_TIMEOUT);
        E2E_CHECK(hung.Ends(starter, kEnds));
    }
    Context window("the window closed");
    HungExplorer hung;
    ZorvaneSession z;
    E2E_CHECK(z.ok());
    PostMessageA(z.main(), WM_CLOSE, 0, 0);
    E2E_CHECK(hung.Ends(z.process(), kEnds));
}

}  // namespace

void RunCommandLineScenario(const ToolsRelease& release) {
    PrepareMachine(release);
    E2E_CHECK(WriteWholeFile(SettingsFilePath(), kManualFile));
    SwitchWritesAsTheWindow("/apply", ApplyFromTheWindow, "The settings of\r\n");
    SwitchWritesAsTheWindow("/restore", RestoreFromTheWindow,
                            "The Windows default settings were restored.");
    RefusalsWriteNothing();
    ACopyInAnotherSessionRefuses();
    AChangeOfAnotherProcessRefuses();
    AHungExplorerKeepsNoCopyAlive();
}

}  // namespace zv::e2e
