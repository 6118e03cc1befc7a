// The week in the history window. Before the companion starts, its lasting record is written
// with seven days of probes, one every 30 s: round trips that rise in the evenings, 40
// minutes four days ago when the provider did not answer, and six hours three days ago when
// the companion did not run. The week's graph leaves the time off blank (no band, no line,
// no loss mark) and counts every probe; a drag across the graph zooms in and Save History As
// writes the probes of that span, as many as the figures count; Backspace goes back to the
// week.
#include "span_scenario.h"

#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "support/check.h"
#include "support/companion.h"
#include "support/files.h"
#include "support/probe_record_files.h"
#include "support/process.h"
#include "support/screen.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "win32/ui/window_base.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::e2e {
namespace {

namespace hid = zv::win32::frm_history;
using monitor::kHourMs;
using monitor::kMinuteMs;

constexpr int64_t kPeriod = 30000;
constexpr int64_t kDay = 24 * kHourMs;
constexpr int kFileNameBox = 0x47c;  // cmb13, the file-name box of the save dialog

struct WeekRecord {
    monitor::Moment start;
    std::vector<monitor::Probe> probes;
    int64_t off_from = 0;  // the time off, on the wall clock
    int64_t off_to = 0;
};

// Ends a minute before now.
WeekRecord MakeWeek(const monitor::WallTime& now) {
    WeekRecord week;
    week.start = {{now.utc_ms - 7 * kDay + 10 * kMinuteMs, now.offset_min}, 1000};
    week.off_from = now.utc_ms - 3 * kDay;
    week.off_to = week.off_from + 6 * kHourMs;
    int64_t outage = now.utc_ms - 4 * kDay;
    for (int64_t wall = week.start.wall.utc_ms; wall < now.utc_ms - kMinuteMs; wall += kPeriod) {
        if (wall >= week.off_from && wall < week.off_to) {
            continue;
        }
        // The evening's rise from 18:00, highest at 20:30, gone by 23:00.
        int64_t evening = ((wall + now.offset_min * kMinuteMs) % kDay - 18 * kHourMs) / kMinuteMs;
        int rise = evening > 0 && evening < 300
                       ? 40 - static_cast<int>(std::abs(evening - 150)) * 40 / 150
                       : 0;
        int n = static_cast<int>(wall / kPeriod);
        int32_t rtt = 18 + (n * 7919) % 9 + rise + (rise > 0 ? (n * 104729) % (rise / 2 + 1) : 0);
        monitor::Probe probe{{wall, now.offset_min}, rtt, 1000 + wall - week.start.wall.utc_ms};
        probe.host = "www.wikipedia.org";
        if (wall >= outage && wall < outage + 40 * kMinuteMs) {
            probe.round_trip_ms = monitor::kLost;
            probe.where = monitor::Where::YourProvider;
        }
        week.probes.push_back(probe);
    }
    return week;
}

int CountWritten(const WeekRecord& week, int64_t from, int64_t to) {
    int count = 0;
    for (const monitor::Probe& probe : week.probes) {
        count += probe.time.utc_ms >= from && probe.time.utc_ms <= to;
    }
    return count;
}

int ColumnOf(const RECT& plot, int64_t wall, int64_t from, int64_t to) {
    return plot.left + static_cast<int>((wall - from) * (plot.right - plot.left - 1) / (to - from));
}

// What the column shows between the legend and the bottom texts: band, line or loss colours.
std::string ColumnColours(HWND history, const RECT& plot, int x) {
    HDC screen = GetDC(history);
    bool up = false;
    bool line = false;
    bool loss = false;
    int height = plot.bottom - plot.top;
    for (int y = plot.top + height / 5; y < plot.bottom - height / 5; ++y) {
        COLORREF pixel = GetPixel(screen, x, y);
        up |= pixel == hid::kUpColor;
        line |= pixel == hid::kRoundTripColor;
        loss |= pixel == hid::kLossColor;
    }
    ReleaseDC(history, screen);
    return std::string(up ? "band " : "") + (line ? "line " : "") + (loss ? "loss " : "") + "|";
}

void CheckTheWeek(HWND history, const WeekRecord& week, const monitor::WallTime& now) {
    Context in("the week");
    PostClick(history, hid::optSpan168);
    int written = CountWritten(week, now.utc_ms - 7 * kDay, now.utc_ms);
    WaitUntil([&] { return ProbesShown(history) >= written; }, 20000);
    int shown = ProbesShown(history);
    Note("written " + std::to_string(written) + ", shown " + std::to_string(shown));
    E2E_CHECK(shown >= written && shown <= written + 3);  // and the companion's own
    RECT plot = GraphPlotRect(history);
    int64_t from = WallNow().utc_ms - 7 * kDay;
    int64_t to = from + 7 * kDay;
    int off = ColumnOf(plot, (week.off_from + week.off_to) / 2, from, to);
    int before = ColumnOf(plot, week.off_from - 36 * kHourMs, from, to);
    Note("the time off at column " + std::to_string(off) + ": " +
         ColumnColours(history, plot, off) +
         " a day and a half before: " + ColumnColours(history, plot, before));
    E2E_CHECK_EQ(ColumnColours(history, plot, off), std::string("|"));
    E2E_CHECK_EQ(ColumnColours(history, plot, before), std::string("band line |"));
    RequestScreenshot("vigilo-history-7days");
}

// Saves the span shown; the rows of the file.
int SaveTheSpanShown(HWND history, DWORD process_id, const std::string& path) {
    Context in("Save History As");
    PostClick(history, hid::cmdSave);
    HWND dialog = WaitForWindow({process_id, "#32770", "Save History As", true}, 5000);
    if (!E2E_CHECK(dialog != nullptr)) {
        return -1;
    }
    SendMessageA(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.c_str()));
    PostClick(dialog, IDOK);
    E2E_CHECK(WaitForWindowGone(dialog));
    std::string csv;
    WaitUntil([&] { return !(csv = ReadWholeFile(path).value_or("")).empty(); }, 10000);
    std::istringstream rows(csv);
    std::string line;
    std::getline(rows, line);
    int count = 0;
    std::string first;
    std::string last;
    for (; std::getline(rows, line); ++count) {
        (count == 0 ? first : last) = line.substr(0, 19);
    }
    Note(std::to_string(count) + " rows, " + first + " to " + last);
    return count;
}

void ZoomSaveAndBack(HWND history, DWORD process_id, const monitor::WallTime& now) {
    Context in("zoom, save, back");
    int week = ProbesShown(history);
    RECT plot = GraphPlotRect(history);
    int64_t from = now.utc_ms - 7 * kDay;
    int x1 = ColumnOf(plot, now.utc_ms - 2 * kDay, from, now.utc_ms);
    int x2 = ColumnOf(plot, now.utc_ms - kDay, from, now.utc_ms);
    int y = (plot.top + plot.bottom) / 2;
    PostMessageA(history, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x1, y));
    PostMessageA(history, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((x1 + x2) / 2, y));
    PostMessageA(history, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x2, y));
    PostMessageA(history, WM_LBUTTONUP, 0, MAKELPARAM(x2, y));
    HWND back = FindControl(history, zv::win32::kBackButtonId);
    E2E_CHECK(WaitUntil([&] { return IsWindowEnabled(back) != FALSE; }, 5000));
    int zoomed = ProbesShown(history);
    Note("a day's drag: " + std::to_string(zoomed) + " probes of the week's " +
         std::to_string(week));
    // A day of probes, give or take a pixel column's (7 days over the plot's width).
    int per_column = static_cast<int>(7 * kDay / kPeriod / (plot.right - plot.left)) + 1;
    E2E_CHECK(std::abs(zoomed - 2880) <= 2 * per_column);
    RequestScreenshot("vigilo-history-zoomed");

    std::string path = AppDirectory() + "\\zoomed.csv";
    E2E_CHECK_EQ(SaveTheSpanShown(history, process_id, path), zoomed);

    PostMessageA(history, WM_KEYDOWN, VK_BACK, 0);
    E2E_CHECK(WaitUntil([&] { return IsWindowEnabled(back) == FALSE; }, 5000));
    Note("after Backspace: " + std::to_string(ProbesShown(history)));
    E2E_CHECK(ProbesShown(history) >= week);
}

}  // namespace

void SpanScenario() {
    monitor::WallTime now = WallNow();
    WeekRecord week = MakeWeek(now);
    WriteProbeRecord(LocalAppDataFolder(), week.start, week.probes);
    Note(std::to_string(week.probes.size()) + " probes written");
    ChildProcess vigilo(AppCommand("vigilo.exe"));
    HWND monitor = WaitForMonitorWindow();
    if (!E2E_CHECK(monitor != nullptr)) {
        return;
    }
    PostMessageA(monitor, WM_COMMAND, zv::win32::frm_vigilo::menu_history, 0);
    HWND history = WaitForWindow({vigilo.id(), hid::kClassName, "Connection History", true});
    if (!E2E_CHECK(history != nullptr)) {
        return;
    }
    CheckTheWeek(history, week, now);
    ZoomSaveAndBack(history, vigilo.id(), now);
    vigilo.Terminate();
}

}  // namespace zv::e2e
