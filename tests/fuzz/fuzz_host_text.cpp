// Host texts as the user types them into the ping dialog or a hand edit leaves them in
// "Ping.cfg", through the echo engine with a resolver that knows every name or none.
// Whatever the text: a blank one starts nothing; a malformed dotted address never goes
// out as some address; a well-formed one goes out as exactly its four numbers; a name
// (any text with a part between dots that is not a number) goes out as its resolved
// address; every Windows Sockets start-up is cleaned up. The host check takes exactly
// the names and addresses of the model below.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cctype>
#include <cstdint>
#include <optional>
#include <regex>
#include <vector>
#include <string>

#include "common/numbers.h"
#include "fakes/recording_ui.h"
#include "fakes/scripted_ping_ports.h"
#include "fuzz_check.h"
#include "ping/dotted_address.h"
#include "ping/host_check.h"
#include "ping/echo_engine.h"

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

std::vector<std::string> Parts(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t dot; (dot = text.find('.', start)) != std::string::npos; start = dot + 1) {
        parts.push_back(text.substr(start, dot - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Looked up by name: no dot, or some part that is not a signed number between blanks.
bool ExpectedName(const std::string& host) {
    static const std::regex number("[ \t]*[+-]?[0-9]+[ \t]*");
    std::vector<std::string> parts = Parts(host);
    if (parts.size() == 1) {
        return true;
    }
    for (const std::string& part : parts) {
        if (!part.empty() && !std::regex_match(part, number)) {
            return true;
        }
    }
    return false;
}

// A unicast address of another computer, or a name of RFC 1123 labels whose last is not a
// number and that is not "localhost"; nothing when the model cannot say (zero-padded
// parts, which the address parser may refuse).
std::optional<bool> ExpectedProbeable(const std::string& host) {
    static const std::regex digits("[0-9]+");
    static const std::regex label("[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?");
    std::vector<std::string> parts = Parts(host);
    bool all_digits = true;
    for (const std::string& part : parts) {
        all_digits = all_digits && std::regex_match(part, digits);
    }
    if (all_digits) {
        Address address = ExpectedAddress(host);
        if (!address.short_parts) {
            return std::nullopt;
        }
        uint32_t first = address.value.value_or(0) & 0xFF;
        return address.value && first != 0 && first != 127 && first < 224;
    }
    std::string lower;
    for (char c : host) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    bool local = lower == "localhost" ||
                 (lower.size() > 10 && lower.substr(lower.size() - 10) == ".localhost");
    bool labels = host.size() <= 253 && !std::regex_match(parts.back(), digits);
    for (const std::string& part : parts) {
        labels = labels && std::regex_match(part, label);
    }
    return labels && !local;
}

void CheckHostProblem(const std::string& host) {
    std::string problem = zv::ping::HostProblem(host);
    if (std::optional<bool> expected = ExpectedProbeable(host)) {
        FUZZ_CHECK(problem.empty() == *expected, Escape(host) + ": '" + problem + "'");
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
    zv::ping::EchoEngine engine(sockets, echo, messages, "Zorvane");

    bool answered = engine.PingOnce(host, 1000);

    FUZZ_CHECK(sockets.open_count == 0, "start-ups left open for " + Escape(host));
    FUZZ_CHECK(messages.shown.empty(), Escape(host));
    FUZZ_CHECK(echo.requests.size() <= 1);
    FUZZ_CHECK(answered == !echo.requests.empty(), Escape(host));
    if (zv::TrimBlanks(host).empty()) {
        FUZZ_CHECK(sockets.startups == 0, "blank host started sockets: " + Escape(host));
        return;
    }
    bool is_name = ExpectedName(host);
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
    CheckHostProblem(host);
    CheckPingOnce(host, knows_names);
    return 0;
}
