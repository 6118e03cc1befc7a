// The companion's lasting record beside today's 24 hours: its size on disk for 30 days of a
// probe every 30 s and for one day, the start-up's read of it (the store opened, checked, a
// day read back whole and the month in brief) against reading the same files raw, the
// history graph of 30 days and of 24 hours built and drawn against a plain polyline as wide,
// and the companion's private bytes at rest with no record, a day's and 30 days'.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_util.h"
#include "monitor/history_graph.h"
#include "monitor/probe_store.h"
#include "support/files.h"
#include "support/probe_record_files.h"
#include "support/process_resources.h"
#include "win32/vigilo/history_graph_paint.h"
#include "win32/vigilo/store_files_win.h"

namespace {

using zv::monitor::kDayMs;

constexpr int64_t kPeriodMs = 30000;
constexpr int64_t kRestoreMs = kDayMs + zv::monitor::kStateHoldMs;
constexpr int64_t kSpanMs = zv::monitor::kLongestSpanMs + zv::monitor::kStateHoldMs;
// The graph as the window shows it at its default size on 96 DPI.
constexpr int kGraphWidth = 616;
constexpr int kGraphHeight = 300;

// The real files, under another local application-data folder.
class FilesUnder : public zv::win32::Win32StoreFiles {
  public:
    explicit FilesUnder(std::string root) : root_(std::move(root)) {}
    std::string LocalAppDataFolder() override { return root_; }

  private:
    std::string root_;
};

// Days of probes from `start` with the link's load, a few of them lost.
std::vector<zv::monitor::Probe> MakeProbes(int days, const zv::monitor::Moment& start) {
    std::vector<zv::monitor::Probe> probes;
    int count = static_cast<int>(days * kDayMs / kPeriodMs);
    for (int i = 0; i < count; ++i) {
        zv::monitor::Probe probe{{start.wall.utc_ms + i * kPeriodMs + i % 7, 60},
                                 i % 97 == 0 ? zv::monitor::kLost : 12 + (i * 7919) % 40,
                                 start.tick_ms + i * kPeriodMs};
        probe.host = "www.wikipedia.org";
        // The link's load, as every probe but the first after a gap has it.
        probe.load = {true, static_cast<uint32_t>(2000 + (i * 31) % 90000),
                      static_cast<uint32_t>(300 + (i * 17) % 9000), static_cast<uint8_t>(i % 100),
                      i % 10 == 0};
        probes.push_back(probe);
    }
    return probes;
}

zv::monitor::Moment StartOf(int days, const zv::monitor::Moment& now) {
    return {{now.wall.utc_ms - days * kDayMs, 60}, 1000};
}

// Days of probes up to `now`, as the companion's record under `root`.
void WriteRecord(const std::string& root, int days, const zv::monitor::Moment& now) {
    zv::e2e::WriteProbeRecord(root, StartOf(days, now), MakeProbes(days, StartOf(days, now)));
}

double BytesOnDisk(FilesUnder& files, const std::string& folder) {
    double total = 0;
    for (const std::string& name : files.List(folder)) {
        total += static_cast<double>(files.Read(folder + "\\" + name).value_or("").size());
    }
    return total;
}

// The store opened as at start-up; how many probes it read back.
std::size_t OpenAsAtStart(const std::string& root, const zv::monitor::Moment& now) {
    FilesUnder files(root);
    zv::monitor::ProbeStore store(files, zv::monitor::kKeepDays);
    return store.Open(now, kRestoreMs, kSpanMs).span.size();
}

// The graph of the last `hours` of the record, built and drawn into a bitmap as the window
// draws it.
template <typename Record>
void DrawGraph(HDC dc, HFONT font, const Record& record, int64_t now_tick, int hours) {
    zv::monitor::GraphScene scene =
        zv::monitor::BuildGraph(record, now_tick - hours * zv::monitor::kHourMs, now_tick,
                                kGraphWidth - 2, kGraphHeight - 2);
    zv::win32::PaintGraphPicture(
        dc, kGraphWidth, kGraphHeight,
        {scene, "30 days ago", "drag across the graph to zoom in", "now", font, 96});
}

// The plainest picture as wide: one polyline across the plot.
void DrawPolyline(HDC dc) {
    POINT points[kGraphWidth];
    for (int x = 0; x < kGraphWidth; ++x) {
        points[x] = {x, kGraphHeight / 2 + (x * 7919) % 40};
    }
    RECT all{0, 0, kGraphWidth, kGraphHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Polyline(dc, points, kGraphWidth);
}

void TimeGraphs(const zv::monitor::Moment& now) {
    zv::monitor::SpanRecord month;
    zv::monitor::ProbeHistory day;
    for (const zv::monitor::Probe& probe : MakeProbes(30, StartOf(30, now))) {
        month.Add(zv::monitor::SpanSample::Of(probe));
        day.Add(probe);
    }
    int64_t end = month.at(month.size() - 1).tick_ms;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kGraphWidth, kGraphHeight);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto time = [&](auto draw) {
        return zv::bench::TimeInterleaved([&] { DrawPolyline(dc); }, draw, 11);
    };
    zv::bench::Medians month_graph = time([&] { DrawGraph(dc, font, month, end, 720); });
    zv::bench::Medians day_graph = time([&] { DrawGraph(dc, font, month, end, 24); });
    zv::bench::Medians ring_graph = time([&] { DrawGraph(dc, font, day, end, 24); });
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    std::printf(
        "  history graph built and drawn, %dx%d: 30 days (%zu probes) %.1f ms (target < 50), "
        "24 hours %.1f ms (from the day's whole probes: %.1f ms); a plain polyline %.2f ms\n",
        kGraphWidth, kGraphHeight, month.size(), month_graph.ours_ms, day_graph.ours_ms,
        ring_graph.ours_ms, month_graph.baseline_ms);
}

// Every file of the folder read whole, and nothing made of it.
void ReadRaw(const std::string& folder) {
    FilesUnder files("");
    for (const std::string& name : files.List(folder)) {
        files.Read(folder + "\\" + name);
    }
}

double PrivateKibAtRest() {
    PROCESS_INFORMATION vigilo = zv::bench::Start(zv::bench::AppDir() + "\\vigilo.exe", "");
    Sleep(4000);  // the record read back, a probe sent
    double kib = zv::e2e::MeasureProcess(vigilo.hProcess).private_kib;
    zv::bench::Stop(vigilo);
    Sleep(500);
    return kib;
}

}  // namespace

int main() {
    FILETIME utc;
    GetSystemTimeAsFileTime(&utc);
    int64_t now_ms = static_cast<int64_t>(
        ((ULONGLONG{utc.dwHighDateTime} << 32 | utc.dwLowDateTime) - 116444736000000000ULL) /
        10000);
    zv::monitor::Moment now{{now_ms, 60}, static_cast<int64_t>(GetTickCount())};
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string bench_root = std::string(temp) + "store-bench";
    const std::string month = bench_root + "\\month";
    const std::string day = bench_root + "\\day";
    CreateDirectoryA(bench_root.c_str(), nullptr);
    WriteRecord(month, 30, now);
    WriteRecord(day, 1, now);
    FilesUnder files("");
    const std::string history = "\\Zorvane\\Vigilo\\History";
    double month_bytes = BytesOnDisk(files, month + history);
    double day_bytes = BytesOnDisk(files, day + history);
    std::printf("lasting record, a probe every 30 s (today: nothing on disk, 24 h in memory):\n");
    std::printf(
        "  on disk: 30 days %.0f bytes (target < 2000000), %.1f bytes a probe; "
        "1 day %.0f bytes\n",
        month_bytes, month_bytes / (30 * kDayMs / kPeriodMs), day_bytes);

    std::size_t restored = 0;
    zv::bench::Medians month_read = zv::bench::TimeInterleaved(
        [&] { ReadRaw(month + history); }, [&] { restored = OpenAsAtStart(month, now); }, 11);
    zv::bench::Medians day_read = zv::bench::TimeInterleaved([&] { ReadRaw(day + history); },
                                                             [&] { OpenAsAtStart(day, now); }, 11);
    std::printf(
        "  start-up read (checked, a day whole and the month in brief: %zu probes): 30 days %.1f "
        "ms "
        "(target < 200), 1 day %.1f ms\n",
        restored, month_read.ours_ms, day_read.ours_ms);
    std::printf("  the same files read raw: 30 days %.1f ms (x%.1f), 1 day %.1f ms (x%.1f)\n",
                month_read.baseline_ms, month_read.ours_ms / month_read.baseline_ms,
                day_read.baseline_ms, day_read.ours_ms / day_read.baseline_ms);

    TimeGraphs(now);

    const std::string own = zv::e2e::LocalAppDataFolder();
    double without = PrivateKibAtRest();
    WriteRecord(own, 1, now);
    double with_day = PrivateKibAtRest();
    zv::e2e::RemoveFile(own + history + "\\00000001.probes");
    WriteRecord(own, 30, now);
    double with = PrivateKibAtRest();
    std::printf(
        "  vigilo.exe private bytes at rest: no record %.0f KiB, a day's %.0f KiB, 30 days' "
        "%.0f KiB: %+.2f MiB over a day's (target < 2), %+.2f MiB over none\n",
        without, with_day, with, (with - with_day) / 1024.0, (with - without) / 1024.0);
    return 0;
}
