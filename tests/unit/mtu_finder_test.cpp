// The MTU finder over a scripted echo service whose path refuses don't-fragment packets
// above its MTU: the exact answer at and between the bounds within eleven echoes, no reply
// at all, cancel, and the hosts it cannot reach.
#include <gtest/gtest.h>

#include "fakes/scripted_ping_ports.h"
#include "ping/mtu_finder.h"

namespace zv::ping {
namespace {

using testing::ScriptedEcho;
using testing::ScriptedSockets;

class MtuFinderTest : public ::testing::Test {
  protected:
    ScriptedSockets sockets;
    ScriptedEcho echo{sockets};
    MtuFinder finder{sockets, echo};
    std::atomic<bool> cancelled{false};
    std::vector<int> tried;  // the packet sizes, as progress told them

    MtuSearchResult Find(const std::string& host = "127.0.0.1") {
        return finder.Find(host, cancelled, [this](int echo_number, int mtu) {
            EXPECT_EQ(echo_number, static_cast<int>(tried.size()) + 1);
            tried.push_back(mtu);
        });
    }

    void ExpectSocketsBalanced() {
        EXPECT_EQ(sockets.open_count, 0);
        EXPECT_EQ(sockets.startups, sockets.cleanups);
    }
};

TEST_F(MtuFinderTest, FindsThePathMtuExactlyWithinElevenEchoes) {
    const struct {
        size_t path_mtu;
        int expected;
    } cases[] = {{576, 576},   {577, 577},   {1000, 1000}, {1400, 1400},
                 {1492, 1492}, {1499, 1499}, {1500, 1500}, {9000, 1500}};
    for (const auto& c : cases) {
        SCOPED_TRACE("path MTU " + std::to_string(c.path_mtu));
        echo.path_mtu = c.path_mtu;
        echo.requests.clear();
        tried.clear();

        MtuSearchResult result = Find();

        EXPECT_EQ(result.outcome, MtuOutcome::Found);
        EXPECT_EQ(result.mtu, c.expected);
        EXPECT_LE(result.echoes, 11);
        ASSERT_EQ(echo.requests.size(), tried.size());
        for (size_t i = 0; i < tried.size(); ++i) {
            EXPECT_TRUE(echo.requests[i].dont_fragment);
            EXPECT_EQ(echo.requests[i].payload.size() + 28, static_cast<size_t>(tried[i]));
            EXPECT_EQ(echo.requests[i].timeout_ms, 1000);
        }
        EXPECT_EQ(tried.front(), 576);
        ExpectSocketsBalanced();
    }
    EXPECT_EQ(echo.requests[0].payload.substr(0, 12), "Echo ThisEch");
}

TEST_F(MtuFinderTest, NoReplyAtTheFloorEndsAfterOneEcho) {
    for (size_t path_mtu : {size_t{575}, size_t{65535}}) {
        SCOPED_TRACE("path MTU " + std::to_string(path_mtu));
        echo.path_mtu = path_mtu;
        echo.status = path_mtu < 576 ? 0 : 11010;  // refused as too big, or timed out
        echo.requests.clear();
        tried.clear();

        MtuSearchResult result = Find();

        EXPECT_EQ(result.outcome, MtuOutcome::NoReply);
        EXPECT_EQ(result.echoes, 1);
        EXPECT_EQ(echo.requests.size(), 1u);
    }
    ExpectSocketsBalanced();
}

TEST_F(MtuFinderTest, CancelStopsBeforeTheNextEcho) {
    cancelled = true;
    EXPECT_EQ(Find().outcome, MtuOutcome::Cancelled);
    EXPECT_TRUE(echo.requests.empty());

    cancelled = false;
    MtuSearchResult result = finder.Find(
        "127.0.0.1", cancelled, [this](int echo_number, int) { cancelled = echo_number == 3; });
    EXPECT_EQ(result.outcome, MtuOutcome::Cancelled);
    EXPECT_EQ(result.echoes, 3);
    EXPECT_EQ(echo.requests.size(), 3u);
    ExpectSocketsBalanced();
}

TEST_F(MtuFinderTest, HostsResolveAsThePingResolvesThem) {
    sockets.AddHost("mtu.example", {{127, 0, 0, 5}, {127, 0, 0, 6}});
    echo.path_mtu = 1400;
    MtuSearchResult found = Find("mtu.example");
    EXPECT_EQ(found.mtu, 1400);
    EXPECT_EQ(echo.requests.front().address, 0x0500007Fu);

    echo.requests.clear();
    for (const char* host : {"", "  ", "gone.example", "1.2.3.4.5", "300.1.1.1"}) {
        SCOPED_TRACE(std::string("host '") + host + "'");
        EXPECT_EQ(Find(host).outcome, MtuOutcome::UnknownHost);
    }
    EXPECT_TRUE(echo.requests.empty());
    ExpectSocketsBalanced();
}

TEST_F(MtuFinderTest, SocketsThatDoNotStartAreTheResultNotAMessageBox) {
    sockets.startup.result = 10091;
    MtuSearchResult result = Find();
    EXPECT_EQ(result.outcome, MtuOutcome::SocketsFailed);
    EXPECT_EQ(DescribeMtuResult(result, "127.0.0.1"),
              "Windows Sockets for 32 bit Windows environments is not successfully responding.");
    EXPECT_TRUE(echo.requests.empty());
}

}  // namespace
}  // namespace zv::ping
