// Host texts as the user types them into the ping dialog or a hand edit leaves them in
// "Ping.cfg", through the echo engine with a resolver that knows every name or none.
// Whatever the text: a blank one starts nothing; a malformed dotted address never goes
// out as some address; a well-formed one goes out as exactly its four numbers; a name
// goes out as its resolved address; every Windows Sockets start-up is cleaned up.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "common/numbers.h"
#include "fakes/recording_ui.h"
#include "fakes/scripted_ping_ports.h"
#include "fuzz_check.h"
#include "ping/dotted_address.h"
#include "ping/mdl_ping.h"

namespace {

using zv::fuzz::Escape;

// 10.1.2.3, first octet in the lowest byte.
constexpr uint32_t kResolved = 10u | 1u << 8 | 2u << 16 | 3u << 24;

class Resolver : public zv::testing::ScriptedSockets {
  public:
    bool knows_names = true;
    std::optional<zv::ping::HostEntry> GetHostByName(const std::string& name) override {
        lookups.push_back(name);
        if (!knows_names) {
            return std::nullopt;
        }
        return zv::ping::HostEntry{4, {{10, 1, 2, 3}}};
    }
};

struct Address {
    std::optional<uint32_t> value;  // nothing for malformed text
    bool short_parts = true;        // every part has at most three digits
};

// Four parts of decimal digits from 0 to 255, the first octet leftmost.
Address ExpectedAddress(const std::string& text) {
    Address expected;
    uint32_t address = 0;
    size_t parts = 0;
    size_t start = 0;
    while (true) {
        size_t dot = text.find('.', start);
        std::string part = text.substr(start, dot == std::string::npos ? dot : dot - start);
        if (!zv::IsAllDigits(part) || parts == 4) {
            return {};
        }
        size_t first = part.find_first_not_of('0');
        std::string significant = first == std::string::npos ? "0" : part.substr(first);
        if (significant.size() > 3 || std::stoi(significant) > 255) {
            return {};
        }
        expected.short_parts = expected.short_parts && part.size() <= 3;
        address |= static_cast<uint32_t>(std::stoi(significant)) << (8 * parts++);
        if (dot == std::string::npos) {
            break;
        }
        start = dot + 1;
    }
    if (parts == 4) {
        expected.value = address;
    }
    return expected;
}

void CheckDottedAddress(const std::string& text) {
    std::optional<uint32_t> parsed = zv::ping::ParseDottedAddress(text);
    Address expected = ExpectedAddress(text);
    if (parsed) {
        FUZZ_CHECK(expected.value == parsed, "malformed text gave an address: " + Escape(text));
    } else {
        FUZZ_CHECK(!expected.value || !expected.short_parts, "refused: " + Escape(text));
    }
}

void CheckAddressText(uint32_t address) {
    std::vector<uint8_t> bytes{static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8),
                               static_cast<uint8_t>(address >> 16),
                               static_cast<uint8_t>(address >> 24)};
    std::string text = zv::ping::AddressBytesToText(bytes);
    FUZZ_CHECK(zv::ping::ParseDottedAddress(text) == address, Escape(text));
}

void CheckPingOnce(const std::string& host, bool knows_names) {
    Resolver sockets;
    sockets.knows_names = knows_names;
    zv::testing::ScriptedEcho echo(sockets);
    zv::testing::RecordingMessageBox messages;
    zv::ping::mdlPing engine(sockets, echo, messages, "Zorvane");

    bool answered = engine.PingOnce(host, 1000);

    FUZZ_CHECK(sockets.open_count == 0, "start-ups left open for " + Escape(host));
    FUZZ_CHECK(messages.shown.empty(), Escape(host));
    FUZZ_CHECK(echo.requests.size() <= 1);
    FUZZ_CHECK(answered == !echo.requests.empty(), Escape(host));
    if (zv::TrimBlanks(host).empty()) {
        FUZZ_CHECK(sockets.startups == 0, "blank host started sockets: " + Escape(host));
        return;
    }
    bool is_name = zv::ping::IsDottedName(host) || host.find('.') == std::string::npos;
    std::optional<uint32_t> expected;
    if (is_name) {
        if (knows_names) {
            expected = kResolved;
        }
    } else {
        expected = zv::ping::ParseDottedAddress(host);
    }
    FUZZ_CHECK(echo.requests.empty() == !expected, Escape(host));
    if (expected) {
        FUZZ_CHECK(echo.requests.front().address == *expected, Escape(host));
        FUZZ_CHECK(echo.requests.front().sockets_started);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool knows_names = input.ConsumeBool();
    CheckAddressText(input.ConsumeIntegral<uint32_t>());
    const std::string host = input.ConsumeRemainingBytesAsString();
    CheckDottedAddress(host);
    CheckPingOnce(host, knows_names);
    return 0;
}
