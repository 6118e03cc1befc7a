#include "report_scenario.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "monitor/clock_texts.h"
#include "monitor/vigilo_view.h"
#include "routed_companion.h"
#include "support/check.h"
#include "support/companion.h"
#include "support/files.h"
#include "support/message_boxes.h"
#include "support/sandbox_control.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::e2e {
namespace {

namespace pid = zv::win32::frm_report_period;

constexpr int kFileNameBox = 0x47c;  // cmb13, the file-name box of the save dialog
constexpr int64_t kIntervalMs = monitor::kProbeIntervalMs;

// One silence of the script, and when the sandbox had begun and ended it (UTC ms).
struct Silence {
    const char* part;  // of the sandbox's requests "<part>-off" and "<part>-on"
    const char* where;
    int64_t off_ms = 0;
    int64_t on_ms = 0;
};

int64_t UtcNowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    int64_t ticks = (int64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return ticks / 10000 - 11644473600000LL;
}

// "2026-12-08 22:31:05" and "+01:00" as UTC ms; nothing for other text.
std::optional<int64_t> UtcOf(const std::string& local, const std::string& offset) {
    std::optional<monitor::DayNumber> day = monitor::ParseDay(local.substr(0, 10));
    if (!day || local.size() != 19 || offset.size() != 6) {
        return std::nullopt;
    }
    auto number = [](const std::string& text, std::size_t at) {
        return std::atoi(text.substr(at, 2).c_str());
    };
    int64_t seconds = number(local, 11) * 3600 + number(local, 14) * 60 + number(local, 17);
    int64_t offset_s =
        (offset[0] == '-' ? -1 : 1) * (number(offset, 1) * 3600 + number(offset, 4) * 60);
    return (*day * 86400 + seconds - offset_s) * 1000;
}

std::string DocumentsFolder() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, folder);
    return folder;
}

std::string ListSeparator() {
    char separator[8] = "";
    int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, separator, sizeof separator);
    return length > 1 ? separator : ",";
}

std::vector<std::string> Fields(const std::string& line, const std::string& separator) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (std::size_t next; (next = line.find(separator, at)) != std::string::npos;
         at = next + separator.size()) {
        fields.push_back(line.substr(at, next - at));
    }
    fields.push_back(line.substr(at));
    return fields;
}

// The rows of the CSV's "Outages" table, as fields.
std::vector<std::vector<std::string>> OutageRows(const std::string& csv) {
    std::istringstream lines(csv);
    std::vector<std::vector<std::string>> rows;
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            inside = false;
        } else if (line == "Outages") {
            inside = true;
            std::getline(lines, line);  // the column names
        } else if (inside) {
            rows.push_back(Fields(line, ListSeparator()));
        }
    }
    return rows;
}

// The gateway, then the provider, silent until the history window counts the outage where
// it lay (a confirming probe made it one); each time back until it tells of the link up.
void PlayScript(Companion& companion, std::vector<Silence>& script) {
    HWND outages = FindControl(companion.history, win32::frm_history::lblWhere);
    for (Silence& silence : script) {
        Context in(std::string(silence.part) + " silent");
        // A third of an interval after the probe that found the link up, so that the first
        // probe lost is due well inside the interval the check allows.
        Sleep(static_cast<DWORD>(kIntervalMs / 3));
        E2E_CHECK(RequestFromSandbox(std::string(silence.part) + "-off"));
        silence.off_ms = UtcNowMs();
        E2E_CHECK(WaitForText(outages, ".*" + std::string(silence.where) + " 1.*", kOutageSeenMs));
        E2E_CHECK(RequestFromSandbox(std::string(silence.part) + "-on"));
        silence.on_ms = UtcNowMs();
        E2E_CHECK(WaitForText(companion.now, kConnected, 2 * kOutageSeenMs / 3));
    }
}

// Today as the sandbox's local clock reads it.
monitor::DayNumber Today() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", local.wYear, local.wMonth, local.wDay);
    return *monitor::ParseDay(text);
}

// The period dialog of the tray menu's "Outage Report...", which offers the last week and
// today, and a key pressed in its To box; false when it did not come up.
bool PeriodDialog(Companion& companion, WPARAM key) {
    PostMessageA(companion.monitor, WM_COMMAND, win32::frm_vigilo::menu_outage_report, 0);
    HWND period = WaitForWindow({companion.process.id(), pid::kClassName, "Outage Report", true});
    if (!E2E_CHECK(period != nullptr)) {
        return false;
    }
    E2E_CHECK_EQ(WindowText(FindControl(period, pid::txtFrom)), monitor::DayText(Today() - 7));
    E2E_CHECK_EQ(WindowText(FindControl(period, pid::txtTo)), monitor::DayText(Today()));
    HWND to = FindControl(period, pid::txtTo);
    PostMessageA(to, WM_KEYDOWN, key, 0);
    PostMessageA(to, WM_KEYUP, key, 0);
    E2E_CHECK(WaitForWindowGone(period, 5000));
    return true;
}

// A second "Outage Report..." while the first's dialog is open opens no other and leaves
// that dialog in front. (That it brings the dialog back from behind another program's
// window Wine cannot show: with no window manager, the front returns to the dialog as soon
// as the other window goes, and moves to the desktop when it is taken from a window that
// stays.)
void AskedAgainKeepsTheDialog(Companion& companion, HWND dialog) {
    Context in("asked again");
    PostMessageA(companion.monitor, WM_COMMAND, win32::frm_vigilo::menu_outage_report, 0);
    Sleep(500);
    E2E_CHECK(GetForegroundWindow() == dialog);
    E2E_CHECK(FindWindowA(pid::kClassName, nullptr) == nullptr);
}

// Esc cancels the period dialog and Enter takes it; the save dialog offers the report's name;
// the page and its CSV appear in Documents. The page's path, or empty.
std::string AskForTheReport(Companion& companion) {
    Context in("Outage Report...");
    PeriodDialog(companion, VK_ESCAPE);
    if (!PeriodDialog(companion, VK_RETURN)) {
        return "";
    }
    HWND save =
        WaitForWindow({companion.process.id(), "#32770", "Save Outage Report As", true}, 10000);
    if (!E2E_CHECK(save != nullptr)) {
        return "";
    }
    std::string name = "Outage report " + monitor::DayText(Today() - 7) + " to " +
                       monitor::DayText(Today()) + ".html";
    std::string shown = WindowText(GetDlgItem(save, kFileNameBox));
    E2E_CHECK_EQ(shown, name);
    AskedAgainKeepsTheDialog(companion, save);
    PostClick(save, IDOK);
    std::string page = DocumentsFolder() + "\\" + name;
    std::string csv = page.substr(0, page.size() - 5) + ".csv";
    E2E_CHECK(WaitUntil([&] { return FileIsPresent(page) && FileIsPresent(csv); }, 20000));
    // Under Wine no program opens a web page: the outcome is told in a message then.
    if (std::optional<MessageBoxSeen> box = WaitForMessageBox(companion.process.id(), 5000)) {
        Note("told: " + box->text);
        E2E_CHECK_CONTAINS(box->text, "The outage report is in ");
        DismissMessageBoxes(companion.process.id());
    }
    return page;
}

// Each outage of the script is a row of the CSV and of the page, starting and ending within
// a probe interval of the script's times, at the right place; the page holds the totals
// and nothing from elsewhere.
void CheckReport(const std::string& page_path, const std::vector<Silence>& script) {
    Context in("report");
    std::optional<std::string> page = ReadWholeFile(page_path);
    std::optional<std::string> csv =
        ReadWholeFile(page_path.substr(0, page_path.size() - 5) + ".csv");
    if (!E2E_CHECK(page.has_value() && csv.has_value())) {
        return;
    }
    std::vector<std::vector<std::string>> rows = OutageRows(*csv);
    if (!E2E_CHECK_EQ(rows.size(), script.size())) {
        Note(*csv);
        return;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::vector<std::string>& row = rows[i];
        Context outage(std::string("outage of the ") + script[i].part);
        if (!E2E_CHECK(row.size() >= 8)) {
            continue;
        }
        std::optional<int64_t> start = UtcOf(row[0], row[1]);
        std::optional<int64_t> end = UtcOf(row[2], row[3]);
        if (E2E_CHECK(start && end)) {
            Note("start " + row[0] + " (" + std::to_string((*start - script[i].off_ms) / 1000) +
                 " s after the silence), end " + row[2] + " (" +
                 std::to_string((*end - script[i].on_ms) / 1000) + " s after the return)");
            E2E_CHECK_BETWEEN(*start - script[i].off_ms, -kIntervalMs, kIntervalMs);
            E2E_CHECK_BETWEEN(*end - script[i].on_ms, -kIntervalMs, kIntervalMs);
        }
        E2E_CHECK_EQ(row[5], script[i].where);
        E2E_CHECK_EQ(row[7], "yes");
        E2E_CHECK_CONTAINS(*page, "<tr><td>" + row[0] + "</td><td>" + row[2] + "</td><td>");
        E2E_CHECK_CONTAINS(*page, "<td>" + row[5] + "</td><td>" + row[6] + "</td></tr>");
    }
    E2E_CHECK_CONTAINS(*page,
                       "<tr><th>Outages</th><td>" + std::to_string(script.size()) + ", down ");
    E2E_CHECK_CONTAINS(*page, "<tr><th>Availability</th><td>");
    E2E_CHECK_CONTAINS(*page, "<tr><th>Probe host</th><td>" + std::string(kRoutedProbeHost));
    E2E_CHECK_CONTAINS(*page, "<tr><th>Gateway</th><td>10.19.1.1</td></tr>");
    for (const char* elsewhere : {"http", "src=", "<script", "url("}) {
        E2E_CHECK_LACKS(*page, elsewhere);
    }
    // Kept for the README's picture, which a browser outside the sandbox takes.
    WriteWholeFile(EnvironmentVariable("ZV_CTL_DIR") + "\\vigilo-outage-report.html", *page);
    E2E_CHECK(RequestFromSandbox("keep-vigilo-outage-report.html"));
}

}  // namespace

void OutageReportScenario() {
    SetCompanionOption("ProbeHost", kRoutedProbeHost);
    Companion companion;
    if (!ConnectedToProbeHost(companion)) {
        return;
    }
    std::vector<Silence> script = {{"gateway", "your network"}, {"provider", "your provider"}};
    PlayScript(companion, script);
    std::string page = AskForTheReport(companion);
    if (!page.empty()) {
        CheckReport(page, script);
    }
}

}  // namespace zv::e2e
