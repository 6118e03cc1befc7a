// The counters an interface's driver reports, through the load meter, as the probe reads
// them: any index, counts, width, speed and tick, or none at all. Whatever they are, each
// load matches the model below, worked out with exact integers: the rates between two
// readings of one interface within half a second to 75 s, a 32-bit counter wrapping once, a
// counter that went back or ran faster than twice the interface's speed not measured, the
// highest rates forgotten with the interface, and busy by the automatic rule or the
// user's rate.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "monitor/link_load.h"

namespace {

using zv::monitor::OctetReading;
using zv::monitor::ProbeLoad;
using u128 = unsigned __int128;

struct Model {
    std::optional<OctetReading> last;
    u128 highest_in = 0;
    u128 highest_out = 0;

    static std::optional<u128> Octets(uint64_t before, uint64_t after, bool wide) {
        if (!wide) {
            return static_cast<u128>((after - before) % (u128{1} << 32));
        }
        return after < before ? std::nullopt : std::optional<u128>(after - before);
    }
    static bool Busy(u128 bps, u128 highest, uint32_t user_kbps) {
        return user_kbps ? bps > u128{user_kbps} * 1000 : bps >= 256000 && 2 * bps > highest;
    }

    // The rates in bit/s, or nothing when not measured.
    std::optional<std::pair<u128, u128>> Take(const std::optional<OctetReading>& r) {
        if (!r) {
            return std::nullopt;
        }
        if (last && last->interface_index != r->interface_index) {
            last.reset();
            highest_in = highest_out = 0;
        }
        std::optional<OctetReading> before = last;
        uint32_t span = before ? static_cast<uint32_t>(r->tick_ms - before->tick_ms) : 0;
        if (before && span < 500) {
            return std::nullopt;
        }
        last = r;
        if (!before || span > 75000) {
            return std::nullopt;
        }
        bool wide = before->wide && r->wide;
        auto in = Octets(before->received, r->received, wide);
        auto out = Octets(before->sent, r->sent, wide);
        if (!in || !out) {
            return std::nullopt;
        }
        u128 in_bps = *in * 8000 / span;
        u128 out_bps = *out * 8000 / span;
        if (r->speed_bps > 0 && std::max(in_bps, out_bps) / 2 > r->speed_bps) {
            return std::nullopt;
        }
        highest_in = std::max(highest_in, in_bps);
        highest_out = std::max(highest_out, out_bps);
        return std::pair{in_bps, out_bps};
    }
};

unsigned Percent(u128 bps, u128 highest) {
    return highest == 0 ? 0 : static_cast<unsigned>(bps * 100 / highest);
}

}  // namespace

// The counts grow by at most 4 GiB a reading, so that every rate stays below 10^11 bit/s,
// where the meter's floating point is exact to the bit; now and then a counter starts again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    uint32_t user_kbps = input.ConsumeBool() ? 0 : input.ConsumeIntegral<uint32_t>();
    zv::monitor::LoadMeter meter;
    Model model;
    OctetReading reading;
    while (input.remaining_bytes() > 0) {
        bool readable = input.ConsumeIntegralInRange<int>(0, 15) != 0;
        reading.interface_index = input.ConsumeIntegralInRange<uint32_t>(1, 2);
        reading.wide = input.ConsumeBool();
        reading.speed_bps = input.ConsumeBool() ? 0 : input.ConsumeIntegral<uint32_t>() * 100ull;
        reading.tick_ms += input.ConsumeIntegral<uint32_t>() % (input.ConsumeBool() ? 80000 : ~0u);
        for (uint64_t* count : {&reading.received, &reading.sent}) {
            uint64_t step = input.ConsumeIntegral<uint32_t>();
            *count = input.ConsumeIntegralInRange<int>(0, 15) == 0 ? step : *count + step;
            if (!reading.wide) {
                *count &= 0xFFFFFFFF;
            }
        }
        std::optional<OctetReading> given = readable ? std::optional(reading) : std::nullopt;
        ProbeLoad load = meter.Take(given, user_kbps);
        auto rates = model.Take(given);
        std::string seen = "known " + std::to_string(load.known) + ", " +
                           std::to_string(load.receive_kbps) + "/" +
                           std::to_string(load.send_kbps) + " kbit/s, " +
                           std::to_string(load.percent) + "%, busy " + std::to_string(load.busy);
        FUZZ_CHECK(load.known == rates.has_value(), seen);
        FUZZ_CHECK(load.busy == meter.Busy(), seen);
        if (!rates) {
            FUZZ_CHECK(!load.busy && load.receive_kbps == 0 && load.percent == 0, seen);
            continue;
        }
        auto [in_bps, out_bps] = *rates;
        seen += "; model " + std::to_string(static_cast<uint64_t>(in_bps)) + "/" +
                std::to_string(static_cast<uint64_t>(out_bps)) + " bit/s";
        FUZZ_CHECK(load.receive_kbps == in_bps / 1000 && load.send_kbps == out_bps / 1000, seen);
        unsigned percent =
            std::max(Percent(in_bps, model.highest_in), Percent(out_bps, model.highest_out));
        FUZZ_CHECK(load.percent == std::min(percent, 100u), seen);
        FUZZ_CHECK(load.busy == (Model::Busy(in_bps, model.highest_in, user_kbps) ||
                                 Model::Busy(out_bps, model.highest_out, user_kbps)),
                   seen);
    }
    return 0;
}
