// The echo engine over scripted sockets and echo services: which hosts reach the network
// and at which address, the start-up checks and their messages, and the pairing of every
// start-up with one clean-up.
#include <cstring>

#include <gtest/gtest.h>

#include "fakes/recording_ui.h"
#include "fakes/scripted_ping_ports.h"
#include "ping/echo_engine.h"

namespace zv::ping {
namespace {

using testing::EchoRequest;
using testing::RecordingMessageBox;
using testing::ScriptedEcho;
using testing::ScriptedSockets;

class PingEngineTest : public ::testing::Test {
  protected:
    ScriptedSockets sockets;
    ScriptedEcho echo{sockets};
    RecordingMessageBox messages;
    EchoEngine engine{sockets, echo, messages, "Zorvane"};

    // After every operation the platform's start-up count is back where it was.
    void ExpectSocketsBalanced() {
        EXPECT_EQ(sockets.open_count, 0);
        EXPECT_EQ(sockets.startups, sockets.cleanups);
    }

    std::vector<uint8_t> BytesSentTo() {
        EXPECT_EQ(echo.requests.size(), 1u);
        std::vector<uint8_t> bytes(4);
        if (!echo.requests.empty()) {
            std::memcpy(bytes.data(), &echo.requests[0].address, 4);
        }
        return bytes;
    }
};

TEST_F(PingEngineTest, DottedAddressGoesOutInNetworkOrderWithThePayload) {
    EXPECT_TRUE(engine.PingOnce("192.168.0.1", 1234));

    EXPECT_EQ(BytesSentTo(), (std::vector<uint8_t>{0xC0, 0xA8, 0x00, 0x01}));
    const EchoRequest& request = echo.requests[0];
    EXPECT_EQ(request.payload, "Echo This");
    EXPECT_EQ(request.payload.size(), 9u);
    EXPECT_EQ(request.timeout_ms, 1234);
    EXPECT_TRUE(request.sockets_started);
    EXPECT_EQ(echo.closed, std::vector<EchoHandle>{request.handle});
    EXPECT_EQ(sockets.requested, 0x0101);
    EXPECT_EQ(sockets.startups, 1);
    EXPECT_TRUE(sockets.lookups.empty());
    ExpectSocketsBalanced();
}

TEST_F(PingEngineTest, OnlyStatusZeroCountsAsAnswer) {
    echo.status = 11010;  // timed out
    EXPECT_FALSE(engine.PingOnce("127.0.0.1", 1000));
    EXPECT_EQ(echo.closed.size(), 1u);
    ExpectSocketsBalanced();
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PingEngineTest, RoundTripIsTheReplysOwnAndNothingWithoutAnAnswer) {
    echo.round_trip_ms = 23;
    EXPECT_EQ(engine.PingRoundTrip("127.0.0.1", 1000), std::optional<uint32_t>(23));
    echo.status = 11010;
    EXPECT_EQ(engine.PingRoundTrip("127.0.0.1", 1000), std::nullopt);
    EXPECT_EQ(engine.PingRoundTrip("1.2.3.4.5", 1000), std::nullopt);
    EXPECT_EQ(echo.requests.size(), 2u);
    ExpectSocketsBalanced();
}

// Blank hosts start no sockets at all; malformed addresses are not even looked up (a host
// of digits and dots is an address); unknown names and names without an IPv4 address send
// nothing; none of them says anything.
TEST_F(PingEngineTest, HostsWithoutAnAddressNeverReachTheNetwork) {
    for (const char* host : {"", " ", "  \t "}) {
        EXPECT_FALSE(engine.PingOnce(host, 1000)) << "'" << host << "'";
    }
    EXPECT_EQ(sockets.startups, 0);
    for (const char* host : {"300.1.1.1", "-1.1.1.1", "1.2.3", "1.2.3.4.5", "1..2.3", "1.2.3.4.",
                             "1.2. 3.4", "1.2.3.+4", "1.2.3.99999999999999999999", " 12.0.0.1"}) {
        EXPECT_FALSE(engine.PingOnce(host, 1000)) << "'" << host << "'";
    }
    EXPECT_TRUE(sockets.lookups.empty());
    sockets.hosts["six"] = HostEntry{16, {std::vector<uint8_t>(16, 1)}};
    sockets.hosts["none"] = HostEntry{4, {}};
    for (const char* host : {"nowhere.example", "nowhere", "six", "none"}) {
        EXPECT_FALSE(engine.PingOnce(host, 1000)) << host;
    }
    EXPECT_TRUE(echo.requests.empty());
    EXPECT_TRUE(messages.shown.empty());
    ExpectSocketsBalanced();
}

// Addresses go out as written (decimal, never octal); a name, even one whose first part is
// a number, is resolved and its first address pinged. A dotted name's lookup starts and
// cleans up on its own; a name without a dot is resolved within the one start-up.
TEST_F(PingEngineTest, EachHostGoesOutAtItsAddress) {
    sockets.AddHost("ping.example", {{127, 0, 0, 2}, {127, 0, 0, 3}});
    sockets.AddHost("123abc.example", {{10, 1, 2, 3}});
    sockets.AddHost("163.com", {{10, 1, 6, 3}});
    sockets.AddHost("localhost", {{127, 0, 0, 1}});
    const struct {
        const char* host;
        std::vector<uint8_t> address;
        int startups;
    } cases[] = {
        {"255.255.255.255", {255, 255, 255, 255}, 1},
        {"010.0.0.9", {10, 0, 0, 9}, 1},
        {"ping.example", {127, 0, 0, 2}, 2},
        {"123abc.example", {10, 1, 2, 3}, 2},
        {"163.com", {10, 1, 6, 3}, 2},
        {"localhost", {127, 0, 0, 1}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        sockets.startups = sockets.cleanups = 0;
        echo.requests.clear();
        EXPECT_TRUE(engine.PingOnce(c.host, 1000));
        EXPECT_EQ(BytesSentTo(), c.address);
        EXPECT_TRUE(echo.requests[0].sockets_started);
        EXPECT_EQ(sockets.startups, c.startups);
        ExpectSocketsBalanced();
    }
}

TEST_F(PingEngineTest, LookupListsEveryAddressInOrder) {
    sockets.AddHost("multi.example", {{1, 2, 3, 4}, {250, 0, 10, 255}});
    auto addresses = engine.LookupHostAddresses("multi.example");
    ASSERT_TRUE(addresses.has_value());
    EXPECT_EQ(*addresses, (std::vector<std::string>{"1.2.3.4", "250.0.10.255"}));

    auto unknown = engine.LookupHostAddresses("unknown.example");
    ASSERT_TRUE(unknown.has_value());
    EXPECT_TRUE(unknown->empty());

    sockets.startup.result = 10091;
    EXPECT_FALSE(engine.LookupHostAddresses("multi.example").has_value());
    ExpectSocketsBalanced();
}

struct StartupCase {
    const char* label;
    SocketsStartup startup;
    std::string message;
    ui::MessageIcon icon;
    int cleanups;
};

TEST_F(PingEngineTest, StartUpChecksTellWhyAndCleanUpWhatTheyStarted) {
    const std::string not_responding =
        "Windows Sockets for 32 bit Windows environments is not successfully responding.";
    auto not_supported = [](const std::string& version) {
        return "Windows Sockets Version " + version +
               " is not supported by Windows Sockets for 32 bit Windows environments.";
    };
    const std::string too_few_sockets =
        "This application requires a minimum of 1 supported sockets.";
    using ui::MessageIcon;
    const StartupCase cases[] = {
        {"start-up fails", {10091, 0x0101, 100}, not_responding, MessageIcon::None, 0},
        {"version 1.0", {0, 0x0001, 100}, not_supported("1.0"), MessageIcon::Exclamation, 1},
        {"version 0.9", {0, 0x0900, 100}, not_supported("0.9"), MessageIcon::Exclamation, 1},
        {"no sockets", {0, 0x0101, 0}, too_few_sockets, MessageIcon::Exclamation, 1},
    };
    for (const StartupCase& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedSockets sockets;
        ScriptedEcho echo{sockets};
        RecordingMessageBox messages;
        EchoEngine engine{sockets, echo, messages, "Vigilo"};
        sockets.startup = c.startup;

        EXPECT_FALSE(engine.PingOnce("127.0.0.1", 1000));

        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_EQ(messages.shown[0].caption, "Vigilo");
        EXPECT_EQ(messages.shown[0].icon, c.icon);
        EXPECT_EQ(messages.shown[0].buttons, ui::MessageButtons::Ok);
        EXPECT_EQ(sockets.cleanups, c.cleanups);
        EXPECT_EQ(sockets.open_count, 0);
        EXPECT_TRUE(echo.requests.empty());
    }
}

TEST_F(PingEngineTest, NewerVersionsAreAccepted) {
    for (uint16_t version : {0x0101, 0x0002, 0x0202}) {
        SCOPED_TRACE(version);
        sockets.startup.wVersion = version;
        EXPECT_TRUE(engine.PingOnce("127.0.0.1", 1000));
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PingEngineTest, LookupStartUpFailingLeavesNothingStarted) {
    sockets.next_startups = {{0, 0x0101, 100}, {10091, 0x0101, 100}};
    sockets.AddHost("ping.example", {{127, 0, 0, 2}});
    EXPECT_FALSE(engine.PingOnce("ping.example", 1000));
    EXPECT_TRUE(echo.requests.empty());
    EXPECT_EQ(messages.shown.size(), 1u);
    ExpectSocketsBalanced();
}

TEST_F(PingEngineTest, FailedCleanUpIsReportedButDoesNotChangeTheResult) {
    sockets.cleanup_result = -1;
    EXPECT_TRUE(engine.PingOnce("127.0.0.1", 1000));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Windows Sockets error -1 occurred in Cleanup.");
    EXPECT_EQ(messages.shown[0].icon, ui::MessageIcon::Exclamation);
}

}  // namespace
}  // namespace zv::ping
