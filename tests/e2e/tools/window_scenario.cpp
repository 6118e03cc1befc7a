// The Tools menu in the real window: Undo Last Change does nothing while there is nothing
// to undo; Current Settings lists the registry as it is (a hand-edited value, one row per
// interface, the values this release ignores) and copies it; Apply then Undo Last Change,
// and two Applies then Undo All Changes, give back the exact registry and Zorvane.cfg of
// before.
#include <windows.h>

#include <string>

#include "support/check.h"
#include "support/files.h"
#include "support/screen.h"
#include "support/wait.h"
#include "tools_scenarios.h"
#include "win32/ui/clipboard.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

namespace menu = win32::frm_main;
namespace dialog = win32::frm_current_settings;

const char kAllUndoneText[] =
    "All changes have been undone: the registry values and Zorvane.cfg are as they were before "
    "Zorvane's first change.";

struct ExpectedRow {
    const char* label;  // the Setting column
    const char* now;
    const char* used;
};

// The Now and Used columns of the copied row with that label, or nothing.
std::optional<std::string> NowAndUsed(const std::string& copied, const std::string& label) {
    size_t start = copied.find("\r\n" + label + "\t");
    if (start == std::string::npos) {
        return std::nullopt;
    }
    start += 2;
    std::string line = copied.substr(start, copied.find("\r\n", start) - start);
    std::string cells[5];
    for (size_t i = 0, from = 0; i < 5; ++i) {
        size_t tab = line.find('\t', from);
        cells[i] = line.substr(from, tab - from);
        from = tab == std::string::npos ? line.size() : tab + 1;
    }
    return cells[1] + " | " + cells[4];
}

void CheckCurrentSettings(ZorvaneSession& zorvane, const ToolsRelease& release) {
    Context in("current settings");
    zorvane.PostCommand(menu::menu_current_settings);
    HWND window = nullptr;
    if (!E2E_CHECK(WaitUntil([&] {
            window = FindWindowA(dialog::kClassName, dialog::kCaption);
            return window != nullptr && IsWindowVisible(window);
        }))) {
        return;
    }
    RequestScreenshot("current-settings-" + release.name);
    win32::SetClipboardText(nullptr, "");
    SendMessageA(GetDlgItem(window, dialog::cmdCopy), BM_CLICK, 0, 0);
    const std::string copied = win32::ClipboardText(nullptr);
    E2E_CHECK_STARTS_WITH(copied,
                          "Setting\tNow in the registry\tWindows default\tApply would write\t"
                          "Used by this Windows\r\n");

    const bool nt = release.name != "win98";
    const char* rwin_used = release.name == "win10"
                                ? "No: Ignored since Windows Vista: receive window auto-tuning"
                                : "Yes";
    const ExpectedRow rows[] = {
        {"Time to live (TTL): DefaultTTL", "\"64\"", "Yes"},
        {nt ? "Receive window (RWIN): TcpWindowSize" : "Receive window (RWIN): DefaultRcvWindow",
         "(not set)", rwin_used},
        {nt ? "MTU: Interfaces\\{7A3B1C2D-0001}\\MTU" : "MTU: NetTrans\\{7A3B1C2D-0001}\\MaxMTU",
         "(not set)", "Yes"},
    };
    for (const ExpectedRow& row : rows) {
        Context row_in(row.label);
        E2E_CHECK_EQ(NowAndUsed(copied, row.label),
                     std::optional<std::string>(std::string(row.now) + " | " + row.used));
    }
    SendMessageA(window, WM_COMMAND, dialog::cmdClose, 0);
    E2E_CHECK(WaitUntil([&] { return !IsWindow(window); }));
}

}  // namespace

void RunWindowScenario(const ToolsRelease& release) {
    PrepareMachine(release);
    const RegistrySnapshot before = TouchedRegistry();
    const std::optional<std::string> settings_before = ReadWholeFile(SettingsFilePath());
    ZorvaneSession zorvane;
    if (!E2E_CHECK(zorvane.ok())) {
        return;
    }
    {
        Context in("nothing to undo");
        zorvane.PostCommand(menu::menu_undo_last_change);
        E2E_CHECK(zorvane.NoMessageBox());
    }
    CheckCurrentSettings(zorvane, release);
    struct Undo {
        const char* context;
        int applies;
        int command;
        const char* undone_text;
    };
    for (const Undo& undo :
         {Undo{"apply, then undo", 1, menu::menu_undo_last_change, test_texts::kUndoneText},
          Undo{"apply twice, then undo all", 2, menu::menu_undo_all_changes, kAllUndoneText}}) {
        Context in(undo.context);
        for (int i = 0; i < undo.applies; ++i) {
            ApplyIn(zorvane);
        }
        E2E_CHECK(!Differences(before, TouchedRegistry()).empty());
        zorvane.PostCommand(undo.command);
        zorvane.AnswerChangeMadeRestartLater(undo.undone_text);
        CheckSame(before, TouchedRegistry());
        E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()), settings_before);
    }
    if (release.name == "win10") {
        // Alt+T drops the menu down for the screenshot; a cancel closes it again.
        PostMessageA(zorvane.main(), WM_SYSCOMMAND, SC_KEYMENU, 't');
        Sleep(500);
        RequestScreenshot("tools-menu");
        PostMessageA(zorvane.main(), WM_CANCELMODE, 0, 0);
    }
    E2E_CHECK(zorvane.Close());
}

}  // namespace zv::e2e
