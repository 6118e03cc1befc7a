// One probe cycle over a scripted network of gateway, first hop beyond it and host: what
// it sends, the round trip it finds (by echo or TCP connect) and where it puts a loss.
#include "monitor/reachability_probe.h"

#include <gtest/gtest.h>

#include "fakes/scripted_ping_ports.h"
#include "monitor/link_texts.h"

namespace zv::monitor {
namespace {

constexpr uint32_t Address(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    return a | b << 8 | c << 16 | d << 24;
}
constexpr uint32_t kGateway = Address(10, 0, 0, 1);
constexpr uint32_t kHop = Address(10, 0, 1, 1);
constexpr uint32_t kHost = Address(10, 0, 3, 2);
constexpr uint32_t kTimedOut = 11010;

// Names resolve as in ScriptedSockets; each request appends a word to `sent`: "host",
// "gateway", "ttl1", "tcp443".
struct ScriptedNetwork : testing::ScriptedSockets, ping::EchoService {
    bool host = true;               // answers echoes
    bool gateway_echoes = true;     // answers echoes sent to it
    bool gateway_alive = true;      // forwards, and tells when a time to live runs out
    bool hop_alive = true;          // the first router beyond the gateway
    bool routed = true;             // the host lies beyond a gateway
    uint16_t tcp_port = 0;          // a listener on the host
    uint32_t first_hop = kGateway;  // whence the gateway tells that a time to live ran out
    std::string sent;

    void Send(const std::string& word) { sent += (sent.empty() ? "" : " ") + word; }
    ping::EchoHandle Open() override { return 1; }
    void Close(ping::EchoHandle) override {}
    uint32_t SendEcho(ping::EchoHandle, uint32_t, std::string_view, int32_t) override {
        return kTimedOut;
    }
    uint32_t SendUnfragmentedEcho(ping::EchoHandle, uint32_t, std::string_view, int32_t) override {
        return kTimedOut;
    }
    ping::EchoResult SendTimedEcho(ping::EchoHandle, uint32_t to, std::string_view,
                                   int32_t) override {
        bool gateway = to == kGateway;
        Send(gateway ? "gateway" : "host");
        bool answers = gateway ? gateway_echoes && gateway_alive : host && Reaches();
        return {answers ? 0 : kTimedOut, gateway ? 1u : 20u, to};
    }
    ping::EchoResult SendTtlEcho(ping::EchoHandle, uint32_t, std::string_view, uint8_t ttl,
                                 int32_t) override {
        Send("ttl" + std::to_string(ttl));
        if (ttl == 1) {
            return gateway_alive ? ping::EchoResult{kEchoTtlExpired, 1, first_hop}
                                 : ping::EchoResult{kTimedOut};
        }
        if (ttl == 2) {
            return Reaches() ? ping::EchoResult{kEchoTtlExpired, 5, kHop}
                             : ping::EchoResult{kTimedOut};
        }
        return {kTimedOut};
    }
    std::optional<uint32_t> Gateway(uint32_t) override {
        return routed ? std::optional<uint32_t>(kGateway) : std::nullopt;
    }
    std::optional<uint32_t> ConnectMs(uint32_t, uint16_t port, int32_t) override {
        Send("tcp" + std::to_string(port));
        return port == tcp_port && Reaches() ? std::optional<uint32_t>(30) : std::nullopt;
    }
    bool Reaches() const { return gateway_alive && hop_alive; }
};

// "20 ms", "30 ms (TCP)", or where the loss lay.
std::string Told(const ProbeOutcome& outcome) {
    if (!outcome.round_trip_ms) {
        return WhereText(outcome.where);
    }
    return std::to_string(*outcome.round_trip_ms) + " ms" + (outcome.via_tcp ? " (TCP)" : "");
}

TEST(ReachabilityProbe, OneCycleForEachStateOfTheNetwork) {
    const struct {
        const char* silent;  // "host", "gateway", "provider", "on-link host" or nothing
        uint16_t tcp_port;
        const char* told;
        const char* sent;
    } cases[] = {
        {"", 0, "20 ms", "host gateway"},  // one echo to the gateway beside the probe's
        {"host", 443, "30 ms (TCP)", "host tcp443 gateway"},
        {"host", 80, "30 ms (TCP)", "host tcp443 tcp80 gateway"},
        {"gateway", 443, "your network", "host tcp443 tcp80 gateway"},
        {"provider", 0, "your provider", "host tcp443 tcp80 gateway ttl1 ttl2"},
        {"host", 0, "beyond your provider", "host tcp443 tcp80 gateway ttl1 ttl2"},
        {"on-link host", 0, "your network", "host tcp443 tcp80"},
    };
    for (const auto& c : cases) {
        std::string silent = c.silent;
        SCOPED_TRACE(silent + " silent, listening on " + std::to_string(c.tcp_port));
        ScriptedNetwork network;
        network.AddHost("probe.example", {{10, 0, 3, 2}});
        network.host = silent.find("host") == std::string::npos;
        network.routed = silent != "on-link host";
        network.gateway_alive = silent != "gateway";
        network.hop_alive = silent != "provider";
        network.tcp_port = c.tcp_port;
        ReachabilityProbe probe(network, network);
        EXPECT_EQ(Told(probe.Run("probe.example", 10000)), c.told);
        EXPECT_EQ(network.sent, c.sent);
        EXPECT_EQ(network.open_count, 0);
    }
}

// A gateway that never answers echoes says nothing by its silence: the rising time to
// live decides; and a cycle whose name lookup fails still looks for the trouble.
TEST(ReachabilityProbe, LaterCyclesUseWhatEarlierOnesLearnt) {
    ScriptedNetwork network;
    network.AddHost("probe.example", {{10, 0, 3, 2}});
    network.gateway_echoes = false;
    ReachabilityProbe probe(network, network);
    ASSERT_TRUE(probe.Run("probe.example", 10000).round_trip_ms);

    network.hop_alive = false;
    EXPECT_EQ(probe.Run("probe.example", 10000).where, Where::YourProvider);
    network.first_hop = Address(100, 64, 0, 9);  // the gateway answers from its far side
    EXPECT_EQ(probe.Run("probe.example", 10000).where, Where::YourProvider);
    network.gateway_alive = false;
    EXPECT_EQ(probe.Run("probe.example", 10000).where, Where::YourNetwork);

    network.hosts.clear();  // the name server is beyond the broken gateway too
    network.sent.clear();
    EXPECT_EQ(probe.Run("probe.example", 10000).where, Where::YourNetwork);
    EXPECT_EQ(network.sent, "gateway ttl1");
}

}  // namespace
}  // namespace zv::monitor
