// The lasting record over files in memory: runs of the companion that append probes, end
// (or are killed in a write) and start again, with clocks set back and forth between them.
#include "monitor/probe_store.h"

#include <gtest/gtest.h>

#include "fakes/memory_store_files.h"
#include "monitor/link_monitor.h"

namespace zv::monitor {
namespace {

using testing::MemoryStoreFiles;

constexpr int64_t kWall = 1740830400000;  // the first run's start, UTC
constexpr int64_t kPeriod = 30000;
constexpr int64_t kRestoreMs = kDayMs + kStateHoldMs;

// What a probe holds beside its tick, as one line that a failure prints.
std::string Shown(const Probe& p) {
    return std::to_string(p.time.utc_ms) + " " + std::to_string(p.time.offset_min) + " " +
           std::to_string(p.round_trip_ms) + (p.via_tcp ? " tcp" : "") +
           (p.may_be_proxy ? " proxy" : "") + (p.name_failed ? " name" : "") + " w" +
           std::to_string(static_cast<int>(p.where)) + " " + p.host + (p.extra ? " extra" : "") +
           (p.load.known
                ? " load " + std::to_string(p.load.receive_kbps) + "/" +
                      std::to_string(p.load.send_kbps) + " " + std::to_string(p.load.percent) + "%"
                : "") +
           (p.load.busy ? " busy" : "");
}

std::vector<std::string> Shown(const std::vector<Probe>& probes) {
    std::vector<std::string> lines;
    for (const Probe& p : probes) {
        lines.push_back(Shown(p));
    }
    return lines;
}

// The n-th probe of a run: every kind in turn, two hosts, the link's load or not, regular
// and extra.
Probe Varied(int n, const WallTime& wall, int64_t tick) {
    Probe p{wall, n % 5 == 1 ? kLost : 20 + n * 7, tick};
    p.where = n % 5 == 1 ? static_cast<Where>(n % kPlaces) : Where::Unknown;
    p.via_tcp = n % 5 == 2 || n % 5 == 3;
    p.may_be_proxy = n % 5 == 3;
    p.name_failed = n % 5 == 4;
    p.host = n % 7 < 4 ? "www.wikipedia.org" : "192.0.2.7";
    p.extra = n % 6 == 5;
    if (n % 3 != 0) {
        p.load = {true, static_cast<uint32_t>(n * 90001), static_cast<uint32_t>(n * 13),
                  static_cast<uint8_t>(n * 9 % 101), n % 3 == 2};
    }
    return p;
}

// One run of the companion: its store opened at `wall` (UTC) with its own count at `tick`,
// then a probe every period.
struct CompanionRun {
    CompanionRun(MemoryStoreFiles& files, int64_t wall, int64_t tick = 5000,
                 int keep_days = kKeepDays)
        : store(files, keep_days), next{{wall, 60}, tick} {
        opening = store.Open(next, kRestoreMs, kRestoreMs);
    }
    // Appends the next probe and returns it; the wall clock moves `wall_step` with it.
    Probe Append(int n, int64_t wall_step = kPeriod) {
        next.wall.utc_ms += wall_step;
        next.tick_ms += kPeriod;
        Probe probe = Varied(n, next.wall, next.tick_ms);
        store.Append(probe);
        store.PruneStep(next);
        return probe;
    }
    std::vector<Probe> All() const {
        std::vector<Probe> all;
        store.ForEach(INT64_MIN / 4, INT64_MAX / 4, [&](const Probe& p) { all.push_back(p); });
        return all;
    }

    ProbeStore store;
    Moment next;
    StoreOpening opening;
};

TEST(ProbeStore, EveryProbeComesBackAfterARestartAndTheDowntimeStaysAGap) {
    MemoryStoreFiles files;
    std::vector<Probe> sent;
    {
        CompanionRun first(files, kWall);
        for (int n = 0; n < 12; ++n) {
            sent.push_back(first.Append(n));
        }
    }
    // Restarted (the count begins anew) ten minutes after the last probe.
    int64_t last_wall = sent.back().time.utc_ms;
    CompanionRun second(files, last_wall + 10 * kMinuteMs, 700);
    const std::vector<Probe>& back = second.opening.restored;
    EXPECT_EQ(Shown(back), Shown(sent));
    ASSERT_EQ(back.size(), sent.size());
    EXPECT_EQ(back.back().tick_ms, 700 - 10 * kMinuteMs);
    for (std::size_t i = 1; i < back.size(); ++i) {
        EXPECT_EQ(back[i].tick_ms - back[i - 1].tick_ms, kPeriod) << i;
    }
    EXPECT_TRUE(second.opening.problem.empty());
    // The regular ones also in brief, for the history's longer spans.
    std::vector<int64_t> regular;
    std::vector<int64_t> brief;
    for (const Probe& p : back) {
        if (!p.extra) {
            regular.push_back(p.tick_ms);
        }
    }
    for (const SpanSample& sample : second.opening.span) {
        brief.push_back(sample.tick_ms);
    }
    EXPECT_EQ(brief, regular);
    EXPECT_EQ(files.List(files.History()), std::vector<std::string>{"00000001.probes"});
    // Under 23 bytes a probe with its load: 30 days at one probe per 30 s stay under 2 MB.
    EXPECT_LT(files.files.begin()->second.size(), 8 + 12 * 23u);
}

std::size_t BytesOf(const MemoryStoreFiles& files) {
    std::size_t total = 0;
    for (const auto& [path, bytes] : files.files) {
        total += bytes.size();
    }
    return total;
}

// Kill the companion at every byte of a write: of the record's first probe (the file's
// header too), of a later one, and of the first of a day's new file. Only that probe is
// lost, and the record goes on after it.
TEST(ProbeStore, AKillAtAnyByteOfAWriteLosesThatProbeAlone) {
    struct Case {
        int before;
        bool new_file;
    };
    for (Case c : {Case{0, false}, Case{5, false}, Case{5, true}}) {
        auto run_up = [&](CompanionRun& run, std::vector<Probe>* kept) {
            for (int n = 0; n < c.before; ++n) {
                Probe probe = run.Append(n);
                if (kept != nullptr) {
                    kept->push_back(probe);
                }
            }
            run.next.tick_ms += c.new_file ? kDayMs : 0;
            run.next.wall.utc_ms += c.new_file ? kDayMs : 0;
        };
        MemoryStoreFiles sizing;
        CompanionRun measure(sizing, kWall);
        run_up(measure, nullptr);
        std::size_t written = BytesOf(sizing);
        measure.Append(c.before);
        std::size_t write = BytesOf(sizing) - written;
        for (std::size_t cut = 0; cut < write; ++cut) {
            SCOPED_TRACE("probes before: " + std::to_string(c.before) + (c.new_file ? "+day" : "") +
                         ", cut after " + std::to_string(cut) + " of " + std::to_string(write) +
                         " bytes");
            MemoryStoreFiles files;
            std::vector<Probe> kept;
            int64_t wall = kWall;
            {
                CompanionRun killed(files, kWall);
                run_up(killed, &kept);
                files.cut_next_append = cut;
                wall = killed.Append(c.before).time.utc_ms;
            }
            {
                CompanionRun next(files, wall + kMinuteMs);
                EXPECT_EQ(Shown(next.All()), Shown(kept));
                kept.push_back(next.Append(7));
            }
            CompanionRun last(files, wall + kHourMs);
            EXPECT_EQ(Shown(last.All()), Shown(kept));
            EXPECT_TRUE(last.opening.problem.empty()) << last.opening.problem;
        }
    }
}

// The wall clock set back an hour and the time zone changed while running, then set back
// again while the companion did not run: every probe comes back, in the order it was sent,
// with the wall clock and offset it had, and the downtime is a gap of unknown length.
TEST(ProbeStore, ClockAndTimeZoneChangesNeitherReorderNorHideProbes) {
    MemoryStoreFiles files;
    std::vector<Probe> sent;
    {
        CompanionRun first(files, kWall);
        sent.push_back(first.Append(0));
        sent.push_back(first.Append(1, -kHourMs));
        first.next.wall.offset_min = 120;
        sent.push_back(first.Append(2));
    }
    CompanionRun second(files, kWall - 2 * kHourMs, 100);
    EXPECT_EQ(Shown(second.opening.restored), Shown(sent));
    ASSERT_EQ(second.opening.restored.size(), 3u);
    EXPECT_EQ(second.opening.restored[1].time.utc_ms, kWall + kPeriod - kHourMs);
    EXPECT_EQ(second.opening.restored.back().tick_ms, 100 - kStateHoldMs - 1);
    sent.push_back(second.Append(3));
    CompanionRun third(files, kWall);
    EXPECT_EQ(Shown(third.opening.restored), Shown(sent));
}

// A byte changed inside the record, or a file of a newer format: the record is kept aside
// under a name of its own, a new one begun and the user told once; the good probes before
// the damage still come back.
TEST(ProbeStore, ADamagedOrNewerRecordIsKeptAsideAndANewOneBegun) {
    struct Case {
        const char* what;
        std::size_t byte;  // of the first file; kFourth: the fourth record's third
        char value;
        std::size_t restored;
        const char* aside;
    };
    constexpr std::size_t kFourth = SIZE_MAX;
    const Case cases[] = {
        {"a record's byte, one record kept aside before", kFourth, '\x55', 3, "History.damaged-2"},
        {"the letters of the header", 1, 'x', 0, "History.damaged-1"},
        {"the format's version", 4, '\x02', 0, "History.newer-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryStoreFiles files;
        if (std::string(c.aside).back() == '2') {
            files.folders.insert(files.History() + ".damaged-1");
        }
        std::vector<Probe> sent;
        std::size_t fourth = 0;
        {
            CompanionRun first(files, kWall);
            for (int n = 0; n < 6; ++n) {
                fourth = n == 3 ? files.files.begin()->second.size() : fourth;
                sent.push_back(first.Append(n));
            }
        }
        std::string& bytes = files.files.begin()->second;
        bytes[c.byte == kFourth ? fourth + 2 : c.byte] = c.value;
        std::string damaged = bytes;
        CompanionRun second(files, kWall + kDayMs);
        sent.resize(c.restored);
        EXPECT_EQ(Shown(second.opening.restored), Shown(sent));
        std::string aside = files.local_app_data + "\\Zorvane\\Vigilo\\" + c.aside;
        EXPECT_NE(second.opening.problem.find("kept as " + aside), std::string::npos)
            << second.opening.problem;
        EXPECT_EQ(files.files[aside + "\\00000001.probes"], damaged);
        sent.push_back(second.Append(9));
        CompanionRun third(files, kWall + 2 * kDayMs);
        EXPECT_EQ(Shown(third.All()), Shown(std::vector<Probe>{sent.back()}));
        EXPECT_EQ(third.opening.problem, "");
    }
}

// A file another program holds open at start is no damage: it is left as it is, the record
// goes on in a new file, and it is read again at the next start.
TEST(ProbeStore, AFileThatCannotBeReadAtStartIsLeftAsItIs) {
    MemoryStoreFiles files;
    std::vector<Probe> sent;
    {
        CompanionRun first(files, kWall);
        sent = {first.Append(0), first.Append(1)};
    }
    const std::string held = files.History() + "\\00000001.probes";
    files.unreadable.insert(held);
    const std::string bytes = files.files[held];
    {
        CompanionRun second(files, kWall + kHourMs);
        EXPECT_TRUE(second.opening.restored.empty());
        EXPECT_EQ(second.opening.problem, "");
        sent.push_back(second.Append(2));
    }
    EXPECT_EQ(files.files[held], bytes);
    files.unreadable.clear();
    CompanionRun third(files, kWall + 2 * kHourMs);
    EXPECT_EQ(Shown(third.opening.restored), Shown(sent));
}

// Kept 2 days, 5 days of a probe every 10 minutes: whole files go, one per probe at most,
// once all of a file is older than the days kept; what stays runs on without a hole.
TEST(ProbeStore, OldProbesArePrunedAWholeFileAtATime) {
    MemoryStoreFiles files;
    CompanionRun run(files, kWall, 5000, 2);
    std::vector<Probe> sent;
    for (int n = 0; n < 5 * 144; ++n) {
        sent.push_back(run.Append(n, 10 * kMinuteMs));
        run.next.tick_ms += 10 * kMinuteMs - kPeriod;
    }
    std::vector<Probe> kept = run.All();
    ASSERT_FALSE(kept.empty());
    int64_t age = sent.back().time.utc_ms - kept.front().time.utc_ms;
    EXPECT_GE(age, 2 * kDayMs);
    EXPECT_LT(age, 3 * kDayMs);
    std::vector<Probe> tail(sent.end() - static_cast<std::ptrdiff_t>(kept.size()), sent.end());
    EXPECT_EQ(Shown(kept), Shown(tail));
    EXPECT_EQ(files.files.size(), 3u);
    // Kept one day from the next start: a day's file more goes at once.
    CompanionRun shorter(files, sent.back().time.utc_ms + kMinuteMs, 5000, 1);
    EXPECT_EQ(files.files.size(), 2u);
}

// A second companion of the user (in another session) reads the record but writes nothing
// while the first holds the lock; once that one has ended, it goes on after its probes.
TEST(ProbeStore, ASecondCompanionReadsAndTakesTheWritingOverWhenTheFirstEnds) {
    MemoryStoreFiles files;
    CompanionRun first(files, kWall);
    std::vector<Probe> sent{first.Append(0), first.Append(1)};
    files.locked_elsewhere = true;
    CompanionRun second(files, kWall + kMinuteMs, 900000);
    EXPECT_EQ(Shown(second.opening.restored), Shown(sent));
    EXPECT_FALSE(second.store.Writing());
    second.Append(2);
    sent.push_back(first.Append(3));
    files.locked_elsewhere = false;  // the first ended
    sent.push_back(second.Append(4));
    EXPECT_TRUE(second.store.Writing());
    CompanionRun third(files, kWall + kHourMs);
    EXPECT_EQ(Shown(third.opening.restored), Shown(sent));
}

}  // namespace
}  // namespace zv::monitor
