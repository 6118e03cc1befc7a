// The MTU finder over a scripted path: what it finds when echoes are lost, refused as too
// big or dropped silently, when the answers contradict each other, and how far it searches
// on links whose interface MTU is known; then cancel and the hosts it cannot reach.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "fakes/scripted_ping_ports.h"
#include "ping/mtu_finder.h"

namespace zv::ping {
namespace {

using testing::ScriptedEcho;
using testing::ScriptedSockets;

constexpr uint32_t kTooBig = 11009;  // IP_PACKET_TOO_BIG
constexpr uint32_t kLost = 11010;    // IP_REQ_TIMED_OUT: no answer in time
constexpr uint32_t kUnreachable = 11003;

// A path: packets up to its MTU come back, larger ones get `too_big` (the "too big"
// answer, or a timeout where routers drop them silently); `scripted` gives chosen echoes,
// numbered from 1, another status whatever their size.
class ScriptedPath : public ScriptedEcho {
  public:
    using ScriptedEcho::ScriptedEcho;
    uint32_t too_big = kTooBig;
    std::map<size_t, uint32_t> scripted;
    std::optional<uint32_t> interface_mtu;

    uint32_t SendUnfragmentedEcho(EchoHandle handle, uint32_t address, std::string_view payload,
                                  int32_t timeout_ms) override {
        uint32_t status = ScriptedEcho::SendUnfragmentedEcho(handle, address, payload, timeout_ms);
        auto script = scripted.find(requests.size());
        if (script != scripted.end()) {
            return script->second;
        }
        return status == kPacketTooBig ? too_big : status;
    }
    std::optional<uint32_t> InterfaceMtu(uint32_t) override { return interface_mtu; }
};

// Echoes numbered from `first` on, `count` of them, lost.
std::map<size_t, uint32_t> Lost(size_t first, size_t count = 1) {
    std::map<size_t, uint32_t> lost;
    for (size_t echo = first; echo < first + count; ++echo) {
        lost[echo] = kLost;
    }
    return lost;
}

class MtuFinderTest : public ::testing::Test {
  protected:
    ScriptedSockets sockets;
    ScriptedPath echo{sockets};
    MtuFinder finder{sockets, echo};
    std::atomic<bool> cancelled{false};
    std::vector<int> tried;    // the packet sizes, as progress told them
    std::vector<int> percent;  // and the share done before each

    MtuSearchResult Find(const std::string& host = "127.0.0.1") {
        return finder.Find(host, cancelled, [this](int done, int mtu) {
            percent.push_back(done);
            tried.push_back(mtu);
        });
    }

    void ExpectSocketsBalanced() {
        EXPECT_EQ(sockets.open_count, 0);
        EXPECT_EQ(sockets.startups, sockets.cleanups);
    }
};

// On a clean path of MTU 1500 the search asks 576, then halves up to 1500 (1038, 1269,
// 1385, 1443, 1472, 1486, 1493, 1497, 1499, 1500) and asks 1500 again: 12 echoes.
TEST_F(MtuFinderTest, OnlyATooBigAnswerOrARepeatedSilenceCountsAgainstASize) {
    using O = MtuOutcome;
    const struct {
        const char* path;
        size_t path_mtu;
        uint32_t too_big;
        std::map<size_t, uint32_t> scripted;
        std::optional<uint32_t> interface_mtu;
        MtuOutcome outcome;
        int mtu;
        int echoes;
    } cases[] = {
        {"clean", 1500, kTooBig, {}, {}, O::Found, 1500, 12},
        {"lost at the floor", 1500, kTooBig, Lost(1), {}, O::Found, 1500, 13},
        {"lost at 1038", 1500, kTooBig, Lost(2), {}, O::Found, 1500, 13},
        {"lost at 1269", 1500, kTooBig, Lost(3), {}, O::Found, 1500, 13},
        {"lost at 1443", 1500, kTooBig, Lost(5), {}, O::Found, 1500, 13},
        {"lost twice at 1269", 1500, kTooBig, Lost(3, 2), {}, O::Found, 1500, 14},
        {"unreachable once at 1385", 1500, kTooBig, {{4, kUnreachable}}, {}, O::Found, 1500, 13},
        // Three silences in a row count as a size not carried.
        {"lost 3 times at 1443", 1500, kTooBig, Lost(5, 3), {}, O::Found, 1442, 14},
        // 11009 as the reply's status or as the call's error: the port gives either as the
        // status.
        {"refused above 1400", 1400, kTooBig, {}, {}, O::Found, 1400, 12},
        {"refused above 576", 576, kTooBig, {}, {}, O::Found, 576, 11},
        {"dropped above 1400", 1400, kLost, {}, {}, O::Found, 1400, 22},
        {"lost at the confirmation", 1400, kTooBig, Lost(12), {}, O::Found, 1400, 13},
        {"black hole above 576", 576, kLost, {}, {}, O::BlackHole, 0, 28},
        {"confirmation refused", 1500, kTooBig, {{12, kTooBig}}, {}, O::Uncertain, 0, 12},
        {"confirmation lost 3 times", 1500, kTooBig, Lost(12, 3), {}, O::Uncertain, 0, 14},
        {"silent at the floor", 1500, kTooBig, Lost(1, 3), {}, O::NoReply, 0, 3},
        {"refused at the floor", 575, kTooBig, {}, {}, O::NoReply, 0, 1},
        // The ceiling is the interface's MTU where it is known and believable.
        {"jumbo interface", 9000, kTooBig, {}, 9000, O::Found, 9000, 16},
        {"PPPoE interface", 1500, kTooBig, {}, 1492, O::Found, 1492, 12},
        {"jumbo path, interface unknown", 9000, kTooBig, {}, {}, O::Found, 1500, 12},
        {"loopback interface", 1400, kTooBig, {}, 0xFFFFFFFFu, O::Found, 1400, 18},
        {"interface below the floor", 1500, kTooBig, {}, 300, O::Found, 1500, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        echo.path_mtu = c.path_mtu;
        echo.too_big = c.too_big;
        echo.scripted = c.scripted;
        echo.interface_mtu = c.interface_mtu;
        echo.requests.clear();
        tried.clear();
        percent.clear();

        MtuSearchResult result = Find();

        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.mtu, c.mtu);
        EXPECT_EQ(result.echoes, c.echoes);
        ASSERT_EQ(echo.requests.size(), tried.size());
        for (size_t i = 0; i < tried.size(); ++i) {
            EXPECT_TRUE(echo.requests[i].dont_fragment);
            EXPECT_EQ(echo.requests[i].payload.size() + 28, static_cast<size_t>(tried[i]));
            EXPECT_EQ(echo.requests[i].timeout_ms, 1000);
            EXPECT_GE(percent[i], i == 0 ? 0 : percent[i - 1]);
            EXPECT_LT(percent[i], 100);
        }
        EXPECT_EQ(tried.front(), 576);
        EXPECT_EQ(percent.front(), 0);
        if (c.outcome == MtuOutcome::Found) {
            EXPECT_EQ(tried.back(), c.mtu);  // confirmed by the last echo
        }
        ExpectSocketsBalanced();
    }
    EXPECT_EQ(echo.requests[0].payload.substr(0, 12), "Echo ThisEch");
}

TEST_F(MtuFinderTest, ResultsSayWhatTheAnswersShow) {
    MtuSearchResult result;
    result.outcome = MtuOutcome::BlackHole;
    EXPECT_EQ(DescribeMtuResult(result, "mtu.example"),
              "Only MTU 576 came back from mtu.example; larger packets were lost without a "
              "\"too big\" answer. The path looks like a black hole: routers drop too-big "
              "packets silently.");
    result.outcome = MtuOutcome::Uncertain;
    EXPECT_EQ(DescribeMtuResult(result, "mtu.example"),
              "The answers from mtu.example contradict each other, so the result is uncertain. "
              "Try again, or try another host.");
}

TEST_F(MtuFinderTest, CancelStopsBeforeTheNextEcho) {
    cancelled = true;
    EXPECT_EQ(Find().outcome, MtuOutcome::Cancelled);
    EXPECT_TRUE(echo.requests.empty());

    cancelled = false;
    int echoes = 0;
    MtuSearchResult result =
        finder.Find("127.0.0.1", cancelled, [&](int, int) { cancelled = ++echoes == 3; });
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
    EXPECT_EQ(found.address, 0x0500007Fu);  // the adapter "Use for This Adapter" sets

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
