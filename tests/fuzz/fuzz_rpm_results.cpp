// The store of responsiveness results (%APPDATA%\Zorvane\responsiveness.json). Results
// drawn from the input, written by the store, read back as they were, the newest 20 kept in
// their order; and any bytes read as a file give results whose figures are all sound, which
// the store writes and reads back unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "fuzz_check.h"
#include "monitor/rpm_result.h"

namespace {

using zv::monitor::rpm::TestResult;

TestResult Draw(FuzzedDataProvider& input) {
    TestResult result;
    result.when = input.ConsumeRandomLengthString(30);
    result.endpoint = input.ConsumeRandomLengthString(30);
    result.transport = input.ConsumeBool() ? "TCP" : "TLS";
    result.ip_family = input.ConsumeBool() ? "IPv4" : "IPv6";
    result.outcome = input.ConsumeRandomLengthString(20);
    auto& f = result.figures;
    f.tls = result.transport == "TLS";
    f.idle.connect_ms = input.ConsumeIntegralInRange(0, 1 << 20) / 16.0;
    f.idle.tls_ms = input.ConsumeIntegralInRange(0, 1 << 20) / 16.0;
    f.idle.request_ms = input.ConsumeIntegralInRange(0, 1 << 20) / 16.0;
    f.idle_samples = input.ConsumeIntegralInRange(0, 1000);
    f.loaded.connect_ms = input.ConsumeIntegralInRange(0, 1 << 20) / 16.0;
    f.loaded.request_ms = input.ConsumeIntegralInRange(0, 1 << 20) / 16.0;
    for (auto* direction : {&f.down, &f.up}) {
        direction->goodput_bps = input.ConsumeIntegralInRange(0, 1 << 30);
        direction->connections = input.ConsumeIntegralInRange(0, 16);
        direction->bytes = input.ConsumeIntegralInRange<int64_t>(0, 1LL << 40);
        direction->ms.connect_ms = input.ConsumeIntegralInRange(0, 100000);
        direction->samples = input.ConsumeIntegralInRange(0, 500);
        direction->stable = input.ConsumeBool();
        direction->capped = input.ConsumeBool();
    }
    return result;
}

std::string Written(const TestResult& result) {
    return zv::monitor::json::Write(zv::monitor::rpm::ResultJson(result));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    using namespace zv::monitor::rpm;
    if (input.ConsumeBool()) {
        std::vector<TestResult> model(input.ConsumeIntegralInRange<size_t>(0, 24));
        for (TestResult& result : model) {
            result = Draw(input);
        }
        std::vector<TestResult> read = ReadResults(WriteResults(model));
        size_t kept = model.size() < kResultsKept ? model.size() : kResultsKept;
        FUZZ_CHECK(read.size() == kept, std::to_string(read.size()));
        for (size_t i = 0; i < kept; ++i) {
            const TestResult& expected = model[model.size() - kept + i];
            FUZZ_CHECK(Written(read[i]) == Written(expected), Written(read[i]));
        }
        return 0;
    }
    const std::string file = input.ConsumeRemainingBytesAsString();
    std::vector<TestResult> read = ReadResults(file);
    for (const TestResult& result : read) {
        const auto& f = result.figures;
        FUZZ_CHECK(f.idle.connect_ms >= 0 && f.loaded.request_ms >= 0 && f.down.bytes >= 0 &&
                       f.up.samples >= 0 && f.Rpm() >= 0,
                   Written(result));
    }
    if (read.size() <= kResultsKept) {
        std::vector<TestResult> again = ReadResults(WriteResults(read));
        FUZZ_CHECK(again.size() == read.size());
        for (size_t i = 0; i < read.size(); ++i) {
            FUZZ_CHECK(Written(again[i]) == Written(read[i]), Written(read[i]));
        }
    }
    return 0;
}
