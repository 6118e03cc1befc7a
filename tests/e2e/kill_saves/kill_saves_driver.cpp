// Saves survive a kill. Zorvane.exe is started again and again; each time it saves one
// file (Apply writes "Zorvane.cfg", OK in the ping dialog writes "Ping.cfg") and is ended
// with TerminateProcess at a random moment around the save. Afterwards each file must be
// exactly the old one or exactly the new one: never empty, never partial.
//   kill_saves_driver APPLY_KILLS PING_KILLS   (each kind also stops after 150 s)
//
// The moments are drawn around the save as this machine times it: each kill that came
// too late (the new file already there) draws the next one earlier, each that came too
// early draws it later. A kill that leaves the save's temporary file behind landed in the
// middle of the write; those are counted and the file removed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "fakes/program_texts.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "support/scenario_runner.h"
#include "support/windows_on_screen.h"
#include "win32/ping/ping_ids.h"
#include "win32/platform/registry_tip_option.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

namespace main_id = win32::frm_main;
namespace ping_id = win32::frm_ping;

constexpr DWORD kFastPollMs = 5;
// Each kind stops at its count or its time, whichever comes first: a start of the program
// takes 0.5 s on a quiet machine and several on a busy one.
constexpr DWORD kBudgetPerKindMs = 150000;
constexpr int kFewestKills = 10;

std::string ManualSettingsFile(int ttl) {
    return "ConnectionType,2\r\nOptiMode,1\r\nMTU,#TRUE#,1500\r\nRWIN,#TRUE#,8,96000\r\n"
           "TTL,#TRUE#," +
           std::to_string(ttl) +
           "\r\nSKA,#TRUE#,9,600000\r\nNDI,#TRUE#,5,32\r\nPMTU,#TRUE#\r\n"
           "BlackHole,#FALSE#\r\nMSCPS0,4,6\r\nMSCPS1,2,4\r\n";
}

// Polls faster than WaitUntil: a round is short, and there are hundreds of them.
template <typename Found>
auto WaitFast(Found find) -> decltype(find()) {
    DWORD start = GetTickCount();
    for (;;) {
        if (auto found = find()) {
            return found;
        }
        if (GetTickCount() - start >= kDefaultTimeoutMs) {
            return {};
        }
        Sleep(kFastPollMs);
    }
}

HWND WaitForTopLevel(DWORD process, const char* window_class) {
    return WaitFast([&]() -> HWND {
        std::vector<HWND> found = FindTopLevelWindows({process, window_class, "", true});
        return found.empty() ? nullptr : found.front();
    });
}

// Types over the whole text of an edit control, as a user who selected it first.
void TypeOver(HWND edit, const std::string& keys) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    for (char key : keys) {
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(key), 1);
    }
}

// Temporary files a save left in the program folder, removed once counted.
int RemoveLeftTemporaryFiles() {
    const std::vector<std::string> names = FileNames(AppDirectory(), "*.tmp");
    for (const std::string& name : names) {
        RemoveFile(AppDirectory() + "\\" + name);
    }
    return static_cast<int>(names.size());
}

// Draws the kill moments (ms after the save was asked for) around the save's moment.
class KillMoments {
  public:
    DWORD Next() { return std::uniform_int_distribution<DWORD>(0, 2 * aim_ms_)(random_); }
    void Came(bool too_late) {
        aim_ms_ = std::clamp<DWORD>(too_late ? aim_ms_ * 4 / 5 : aim_ms_ * 5 / 4 + 1, 1, 2000);
    }

  private:
    std::mt19937 random_{std::random_device{}()};
    DWORD aim_ms_ = 30;
};

struct KillCounts {
    int kills = 0;
    int old_file = 0;
    int new_file = 0;
    int mid_write = 0;
    int unfinished = 0;  // the save could not be asked for (no window in time)
};

// What one round needs: the file it saves, and how to get the program to the point where
// one posted message saves it (returns the window to post to, or nothing).
struct SaveKind {
    const char* name;
    std::string path;
    std::string (*content)(int round);
    HWND (*prepare)(ChildProcess& zorvane, HWND main, int round);
    int save_button;
};

// Every round saves other bytes than the round before it and the first file.
int TtlOfRound(int round) {
    return 1 + round % 255;
}

HWND PrepareApply(ChildProcess&, HWND main, int round) {
    TypeOver(FindControl(main, main_id::ttl_value), std::to_string(TtlOfRound(round)));
    return main;
}

std::string ApplyContent(int round) {
    return ManualSettingsFile(TtlOfRound(round));
}

std::string PingHostOfRound(int round) {
    return "host" + std::to_string(round) + ".zorvane.test";
}

std::string PingContent(int round) {
    return test_texts::PingFile(false, PingHostOfRound(round), 12, false);
}

HWND PreparePing(ChildProcess& zorvane, HWND main, int round) {
    PostClick(main, main_id::cmdPing);
    HWND dialog = WaitForTopLevel(zorvane.id(), ping_id::kClassName);
    if (dialog != nullptr) {
        TypeOver(GetDlgItem(dialog, ping_id::txtPingHost), PingHostOfRound(round));
    }
    return dialog;
}

void KillDuringSaves(const SaveKind& kind, int kills, DWORD budget_ms, KillCounts& counts) {
    Context in(kind.name);
    KillMoments moments;
    const DWORD start = GetTickCount();
    for (int round = 1; round <= kills && GetTickCount() - start < budget_ms; ++round) {
        Context each("round " + std::to_string(round));
        const std::optional<std::string> before = ReadWholeFile(kind.path);
        ChildProcess zorvane(AppCommand("Zorvane.exe"));
        HWND main = WaitForTopLevel(zorvane.id(), main_id::kClassName);
        HWND target = main != nullptr ? kind.prepare(zorvane, main, round) : nullptr;
        if (!E2E_CHECK(target != nullptr)) {
            Note(main == nullptr ? "no main window in time" : "no ping dialog in time");
            ++counts.unfinished;
            continue;
        }
        PostClick(target, kind.save_button);
        Sleep(moments.Next());
        zorvane.Terminate();
        ++counts.kills;

        const std::optional<std::string> after = ReadWholeFile(kind.path);
        const bool old_file = after == before;
        const bool new_file = after == kind.content(round);
        if (!E2E_CHECK(old_file || new_file)) {
            Note("left " + Show(after));
        }
        counts.old_file += old_file ? 1 : 0;
        counts.new_file += new_file ? 1 : 0;
        counts.mid_write += RemoveLeftTemporaryFiles();
        moments.Came(new_file);
    }
}

void Report(const char* name, const KillCounts& t) {
    std::printf(
        "%s: %d kills: %d left the old file, %d the new one, %d landed mid-write "
        "(a temporary file left), %d rounds could not save\n",
        name, t.kills, t.old_file, t.new_file, t.mid_write, t.unfinished);
}

// Each kind of save killed up to as many times as its word says.
void KillsDuringSaves(int apply_kills, int ping_kills) {
    // No tip of the day: each start goes straight to the main window.
    win32::RegistryTipOption().Write("0");
    // Without the companion, which each start would start again only to end at once: the
    // rounds are many, and it saves nothing here.
    E2E_CHECK(MoveFileA((AppDirectory() + "\\vigilo.exe").c_str(),
                        (AppDirectory() + "\\vigilo.exe.off").c_str()));
    E2E_CHECK(WriteWholeFile(SettingsFilePath(), ManualSettingsFile(128)));
    E2E_CHECK(WriteWholeFile(PingFilePath(),
                             test_texts::PingFile(false, "start.zorvane.test", 12, false)));

    const SaveKind apply{"Apply", SettingsFilePath(), ApplyContent, PrepareApply,
                         main_id::cmdApply};
    const SaveKind ping{"ping dialog OK", PingFilePath(), PingContent, PreparePing, ping_id::cmdOK};
    KillCounts apply_counts;
    KillCounts ping_counts;
    DWORD start = GetTickCount();
    KillDuringSaves(apply, apply_kills, kBudgetPerKindMs, apply_counts);
    KillDuringSaves(ping, ping_kills, kBudgetPerKindMs, ping_counts);
    Report("Apply", apply_counts);
    Report("ping dialog OK", ping_counts);
    E2E_CHECK(apply_counts.kills >= kFewestKills);
    E2E_CHECK(ping_counts.kills >= kFewestKills);
    std::printf("%.1f s in all\n", (GetTickCount() - start) / 1000.0);
}

}  // namespace
}  // namespace zv::e2e

int main(int argc, char** argv) {
    using namespace zv::e2e;
    return RunNamedScenario({{"", "APPLY_KILLS PING_KILLS",
                              [](const Arguments& words) {
                                  if (words.size() != 2) {
                                      return false;
                                  }
                                  KillsDuringSaves(std::atoi(words[0].c_str()),
                                                   std::atoi(words[1].c_str()));
                                  return true;
                              }}},
                            argc, argv);
}
