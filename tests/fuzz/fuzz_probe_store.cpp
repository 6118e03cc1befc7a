// The companion's lasting record under random runs: probes of every kind appended, wall
// clocks and time zones set back and forth, companions killed after any byte of a write,
// restarts after any downtime, and pruning. A model of its own keeps every probe that was
// written whole, on a count of its own: at every start the record holds exactly a run of the
// newest of them, in order, on the same steps of the count, and only probes older than the
// days kept are missing before it.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fakes/memory_store_files.h"
#include "fuzz_check.h"
#include "monitor/probe_store.h"

namespace {

using zv::monitor::kDayMs;
using zv::monitor::Moment;
using zv::monitor::Probe;

constexpr int64_t kRestoreMs = kDayMs;
const std::string kHosts[] = {"www.wikipedia.org", "192.0.2.1", std::string(200, 'h')};

struct Modelled {
    Probe probe;
    int64_t order = 0;  // the model's count
};

std::string Shown(const Probe& p) {
    return std::to_string(p.time.utc_ms) + "/" + std::to_string(p.time.offset_min) + "/" +
           std::to_string(p.round_trip_ms) + "/" + std::to_string(p.via_tcp) +
           std::to_string(p.may_be_proxy) + std::to_string(p.name_failed) +
           std::to_string(static_cast<int>(p.where)) + "/" + p.host.substr(0, 20) + "/" +
           std::to_string(p.extra) + std::to_string(p.load.known) + std::to_string(p.load.busy) +
           "/" + std::to_string(p.load.receive_kbps) + "/" + std::to_string(p.load.send_kbps) +
           "/" + std::to_string(p.load.percent);
}

Probe Draw(FuzzedDataProvider& input, const Moment& at) {
    Probe p{at.wall, zv::monitor::kLost, at.tick_ms};
    if (input.ConsumeBool()) {
        p.round_trip_ms = input.ConsumeIntegralInRange<int32_t>(0, INT32_MAX);
        p.via_tcp = input.ConsumeBool();
        p.may_be_proxy = p.via_tcp && input.ConsumeBool();
        p.name_failed = input.ConsumeBool();
    } else {
        p.where = static_cast<zv::monitor::Where>(input.ConsumeIntegralInRange(0, 3));
    }
    p.host = kHosts[input.ConsumeIntegralInRange(0, 2)];
    p.extra = input.ConsumeBool();
    p.load.busy = input.ConsumeBool();
    if (input.ConsumeBool()) {
        p.load.known = true;
        p.load.receive_kbps = input.ConsumeIntegral<uint32_t>();
        p.load.send_kbps = input.ConsumeIntegral<uint32_t>();
        p.load.percent = input.ConsumeIntegral<uint8_t>();
    }
    return p;
}

// A companion's run over the files, and the model's view of it.
struct Companion {
    Companion(zv::testing::MemoryStoreFiles& files, const Moment& start, int keep_days)
        : store(files, keep_days), now(start) {
        opening = store.Open(start, kRestoreMs);
    }
    zv::monitor::ProbeStore store;
    Moment now;
    zv::monitor::StoreOpening opening;
};

// The record read back equals the newest of the model's probes; the older ones are only
// those the days kept let go, now or at any time before (`cutoff`, on the model's count).
void CheckRestored(const Companion& run, const std::vector<Modelled>& model, int64_t start_order,
                   int64_t cutoff) {
    std::vector<Probe> all;
    run.store.ForEach(INT64_MIN / 4, INT64_MAX / 4, [&](const Probe& p) { all.push_back(p); });
    FUZZ_CHECK(all.size() <= model.size(), std::to_string(all.size()));
    std::size_t dropped = model.size() - all.size();
    for (std::size_t i = 0; i < dropped; ++i) {
        FUZZ_CHECK(model[i].order < cutoff, Shown(model[i].probe));
    }
    std::size_t restored = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Modelled& m = model[dropped + i];
        FUZZ_CHECK(Shown(all[i]) == Shown(m.probe), Shown(all[i]) + " for " + Shown(m.probe));
        FUZZ_CHECK(all[i].tick_ms - run.now.tick_ms == m.order - start_order,
                   std::to_string(all[i].tick_ms) + " " + std::to_string(m.order));
        restored += m.order >= start_order - kRestoreMs;
    }
    FUZZ_CHECK(run.opening.restored.size() == restored, std::to_string(restored));
    FUZZ_CHECK(run.opening.problem.empty(), run.opening.problem);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    zv::testing::MemoryStoreFiles files;
    std::vector<Modelled> model;
    int64_t order = 0;           // the model's count at the run's start
    int64_t cutoff = INT64_MIN;  // the newest of the days kept's limits so far
    Moment start{{1740830400000, 60}, 1000};
    int keep_days = input.ConsumeIntegralInRange(1, 3);
    auto run = std::make_unique<Companion>(files, start, keep_days);
    for (int step = 0; step < 400 && input.remaining_bytes() > 0; ++step) {
        int64_t last_wall = run->now.wall.utc_ms;
        switch (input.ConsumeIntegralInRange(0, 5)) {
            case 0:  // the clock set forth or back, or the time zone changed
                run->now.wall.utc_ms += input.ConsumeIntegralInRange<int64_t>(-kDayMs, kDayMs);
                run->now.wall.offset_min = input.ConsumeIntegralInRange(-720, 840);
                break;
            case 1:  // killed after some bytes of a write
                files.cut_next_append = input.ConsumeIntegralInRange<std::size_t>(0, 300);
                [[fallthrough]];
            case 2:  // the companion ends, and starts again later
            {
                bool killed = files.cut_next_append.has_value();
                if (killed) {
                    run->now.tick_ms += 1;
                    run->store.Append(Draw(input, run->now));
                }
                int64_t down = input.ConsumeIntegralInRange<int64_t>(-kDayMs, 3 * kDayMs);
                int64_t newest = model.empty() ? 0 : model.back().order;
                Moment next{{run->now.wall.utc_ms + down, run->now.wall.offset_min},
                            input.ConsumeIntegralInRange<int64_t>(0, 1 << 30)};
                int64_t newest_wall = model.empty() ? 0 : model.back().probe.time.utc_ms;
                int64_t gap = next.wall.utc_ms - newest_wall;
                int64_t start_order = model.empty() ? order + run->now.tick_ms - start.tick_ms
                                      : gap > 0     ? newest + gap
                                                    : newest + zv::monitor::kStateHoldMs + 1;
                run.reset();
                keep_days = input.ConsumeIntegralInRange(1, 3);
                run = std::make_unique<Companion>(files, next, keep_days);
                cutoff = std::max(cutoff, start_order - keep_days * kDayMs);
                CheckRestored(*run, model, start_order, cutoff);
                order = start_order;
                start = next;
                break;
            }
            default: {  // a probe, some time after the last
                run->now.tick_ms += input.ConsumeIntegralInRange<int64_t>(0, kDayMs / 4);
                run->now.wall.utc_ms = last_wall + input.ConsumeIntegralInRange(0, 60000);
                Probe probe = Draw(input, run->now);
                run->store.Append(probe);
                run->store.PruneStep(run->now);
                model.push_back({probe, order + run->now.tick_ms - start.tick_ms});
                cutoff = std::max(cutoff, model.back().order - keep_days * kDayMs);
            }
        }
    }
    return 0;
}
