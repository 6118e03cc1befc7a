// The companion's lasting record beside today's 24 hours: its size on disk for 30 days of a
// probe every 30 s and for one day, the start-up's read of it (the store opened, checked and
// a day read back) against reading the same files raw, and the companion's private bytes at
// rest with no record (as today) and with 30 days of it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_util.h"
#include "fakes/memory_store_files.h"
#include "monitor/probe_store.h"
#include "support/files.h"
#include "support/process_resources.h"
#include "win32/vigilo/store_files_win.h"

namespace {

using zv::monitor::kDayMs;

constexpr int64_t kPeriodMs = 30000;
constexpr int64_t kRestoreMs = kDayMs + zv::monitor::kStateHoldMs;

// The real files, under another local application-data folder.
class FilesUnder : public zv::win32::Win32StoreFiles {
  public:
    explicit FilesUnder(std::string root) : root_(std::move(root)) {}
    std::string LocalAppDataFolder() override { return root_; }

  private:
    std::string root_;
};

std::string LocalAppData() {
    return zv::win32::UserFolder(0x001c /* CSIDL_LOCAL_APPDATA */, L"LOCALAPPDATA");
}

// Days of probes up to `now` with the link's load, a few of them lost, made in memory and
// written file by file.
void WriteRecord(const std::string& root, int days, const zv::monitor::Moment& now) {
    zv::testing::MemoryStoreFiles memory;
    memory.local_app_data = root;
    zv::monitor::Moment start{{now.wall.utc_ms - days * kDayMs, 60}, 1000};
    zv::monitor::ProbeStore store(memory, 365);
    store.Open(start, 0);
    int probes = static_cast<int>(days * kDayMs / kPeriodMs);
    for (int i = 0; i < probes; ++i) {
        zv::monitor::Probe probe{{start.wall.utc_ms + i * kPeriodMs + i % 7, 60},
                                 i % 97 == 0 ? zv::monitor::kLost : 12 + (i * 7919) % 40,
                                 start.tick_ms + i * kPeriodMs};
        probe.host = "www.wikipedia.org";
        // The link's load, as every probe but the first after a gap has it.
        probe.load = {true, static_cast<uint32_t>(2000 + (i * 31) % 90000),
                      static_cast<uint32_t>(300 + (i * 17) % 9000), static_cast<uint8_t>(i % 100),
                      i % 10 == 0};
        store.Append(probe);
    }
    FilesUnder real(root);
    real.CreateFolder(root);
    for (const std::string& folder : memory.folders) {
        real.CreateFolder(folder);
    }
    for (const auto& [path, bytes] : memory.files) {
        zv::e2e::WriteWholeFile(path, bytes);
    }
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
    return store.Open(now, kRestoreMs).restored.size();
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
        "  start-up read (checked, a day read back: %zu probes): 30 days %.1f ms "
        "(target < 200), 1 day %.1f ms\n",
        restored, month_read.ours_ms, day_read.ours_ms);
    std::printf("  the same files read raw: 30 days %.1f ms (x%.1f), 1 day %.1f ms (x%.1f)\n",
                month_read.baseline_ms, month_read.ours_ms / month_read.baseline_ms,
                day_read.baseline_ms, day_read.ours_ms / day_read.baseline_ms);

    double without = PrivateKibAtRest();
    WriteRecord(LocalAppData(), 30, now);
    double with = PrivateKibAtRest();
    std::printf(
        "  vigilo.exe private bytes at rest: no record %.0f KiB, 30-day record %.0f KiB: "
        "%+.2f MiB (target < 2)\n",
        without, with, (with - without) / 1024.0);
    return 0;
}
