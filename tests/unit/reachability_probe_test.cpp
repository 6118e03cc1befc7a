// One probe cycle over a scripted network of gateway, routers beyond it and host: what it
// sends, the round trip it finds (by echo or TCP connect) and where it puts a loss.
#include "monitor/reachability_probe.h"

#include <gtest/gtest.h>

#include "fakes/monitor_fakes.h"
#include "fakes/scripted_ping_ports.h"
#include "monitor/link_texts.h"

namespace zv::monitor {
namespace {

constexpr uint32_t Address(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    return a | b << 8 | c << 16 | d << 24;
}
constexpr uint32_t kGateway = Address(10, 0, 0, 1);
constexpr uint32_t kHop = Address(10, 0, 1, 1);
constexpr uint32_t kFar = Address(10, 0, 2, 1);

// Names resolve as in ScriptedSockets; each request appends a word to `sent`: "host",
// "gateway", "ttl1", "tcp443".
struct ScriptedNetwork : testing::ScriptedSockets, ping::EchoService {
    // The routers on the way to the host, nearest first: a dead one forwards and answers
    // nothing; a mute one forwards but never tells that a time to live ran out.
    struct Router {
        uint32_t from;  // whence it tells
        bool dead = false;
        bool mute = false;
    };
    std::vector<Router> routers{{kGateway}, {kHop}, {kFar}};
    bool host = true;            // answers echoes
    int host_losses = 0;         // echoes it loses before it answers again
    bool gateway_echoes = true;  // answers echoes sent to it
    int gateway_losses = 0;      // echoes to it lost before it answers again
    bool routed = true;          // the host lies beyond a gateway
    // A dial-up or VPN route, which Wine cannot make: as Microsoft documents the route row
    // (learn.microsoft.com, "MIB_IPFORWARDROW structure": a direct route's next hop is the
    // destination itself or 0.0.0.0) and the interface row ("MIB_IFROW structure": dwType
    // IF_TYPE_PPP), it names no gateway the probe could echo.
    bool point_to_point = false;
    uint16_t tcp_port = 0;  // a listener on the host
    uint32_t tcp_ms = 30;
    uint32_t host_ms = 20;
    std::string sent;
    testing::MeteredInterface counters;

    void Send(const std::string& word) { sent += (sent.empty() ? "" : " ") + word; }
    ping::EchoHandle Open() override { return 1; }
    void Close(ping::EchoHandle) override {}
    uint32_t SendEcho(ping::EchoHandle, uint32_t, std::string_view, int32_t) override {
        return kEchoTimedOut;
    }
    uint32_t SendUnfragmentedEcho(ping::EchoHandle, uint32_t, std::string_view, int32_t) override {
        return kEchoTimedOut;
    }
    static bool Lose(int& losses) { return losses > 0 && losses-- > 0; }
    ping::EchoResult SendTimedEcho(ping::EchoHandle, uint32_t to, std::string_view,
                                   int32_t) override {
        if (to == kGateway) {
            Send("gateway");
            bool answers = gateway_echoes && !routers[0].dead && !Lose(gateway_losses);
            return {answers ? 0 : kEchoTimedOut, 1, to};
        }
        Send("host");
        return HostReply();
    }
    ping::EchoResult HostReply() {
        bool answers = host && Reaches(routers.size()) && !Lose(host_losses);
        return {answers ? 0 : kEchoTimedOut, host_ms, 0};
    }
    ping::EchoResult SendTtlEcho(ping::EchoHandle, uint32_t, std::string_view, uint8_t ttl,
                                 int32_t) override {
        Send("ttl" + std::to_string(ttl));
        if (ttl > routers.size()) {
            return HostReply();
        }
        const Router& router = routers[ttl - 1];
        bool tells = Reaches(ttl - 1) && !router.dead && !router.mute;
        return tells ? ping::EchoResult{kEchoTtlExpired, 1, router.from}
                     : ping::EchoResult{kEchoTimedOut};
    }
    std::optional<uint32_t> Gateway(uint32_t) override {
        return routed && !point_to_point ? std::optional<uint32_t>(kGateway) : std::nullopt;
    }
    bool PointToPoint(uint32_t) override { return point_to_point; }
    std::optional<uint32_t> ConnectMs(uint32_t, uint16_t port, int32_t) override {
        Send("tcp" + std::to_string(port));
        return port == tcp_port && Reaches(routers.size()) ? std::optional<uint32_t>(tcp_ms)
                                                           : std::nullopt;
    }
    // Whether the first `count` routers all forward.
    bool Reaches(std::size_t count) const {
        for (std::size_t i = 0; i < count; ++i) {
            if (routers[i].dead) {
                return false;
            }
        }
        return true;
    }
};

// "20 ms", "30 ms (TCP)", "30 ms (TCP, proxy?)", "20 ms (name failed)", "unfound", or
// where the loss lay.
std::string Told(const ProbeOutcome& outcome) {
    if (outcome.unfound) {
        return "unfound";
    }
    if (!outcome.round_trip_ms) {
        return WhereText(outcome.where);
    }
    return std::to_string(*outcome.round_trip_ms) + " ms" +
           (outcome.via_tcp ? (outcome.may_be_proxy ? " (TCP, proxy?)" : " (TCP)") : "") +
           (outcome.name_failed ? " (name failed)" : "");
}

ScriptedNetwork::Router& Part(ScriptedNetwork& network, const std::string& name) {
    return network.routers[name == "gateway" ? 0 : name == "provider" ? 1 : 2];
}

// Each case: the parts that break ("gateway dead", "provider mute", "host silent",
// "gateway loses 1", "point-to-point", "on-link", "host loses 1"), a listener, and
// what one cycle tells and sends. On a point-to-point link the first router is the
// provider's: "gateway" then names the far end of the link.
TEST(ReachabilityProbe, OneCycleForEachStateOfTheNetwork) {
    const struct {
        const char* broken;
        uint16_t tcp_port;
        const char* told;
        const char* sent;
    } cases[] = {
        {"", 0, "20 ms", "host gateway"},  // one echo to the gateway beside the probe's
        {"host silent", 443, "30 ms (TCP, proxy?)", "host tcp443 gateway"},
        {"host silent", 80, "30 ms (TCP, proxy?)", "host tcp443 tcp80 gateway"},
        {"gateway dead", 443, "your network", "host tcp443 tcp80 gateway gateway"},
        {"gateway loses 1 provider dead", 0, "your provider",
         "host tcp443 tcp80 gateway gateway ttl1 ttl2 ttl3 ttl4"},
        {"provider dead", 0, "your provider", "host tcp443 tcp80 gateway ttl1 ttl2 ttl3 ttl4"},
        {"host silent", 0, "beyond your provider", "host tcp443 tcp80 gateway ttl1 ttl2"},
        // Routers that never tell are passed over: the furthest that does decides.
        {"gateway mute host silent", 0, "beyond your provider",
         "host tcp443 tcp80 gateway ttl1 ttl2"},
        {"provider mute host silent", 0, "beyond your provider",
         "host tcp443 tcp80 gateway ttl1 ttl2 ttl3"},
        {"provider mute far mute host loses 1", 0, "20 ms",
         "host tcp443 tcp80 gateway ttl1 ttl2 ttl3 ttl4"},
        {"on-link host silent", 0, "your network", "host tcp443 tcp80"},
        {"point-to-point host silent", 0, "beyond your provider", "host tcp443 tcp80 ttl1 ttl2"},
        {"point-to-point provider dead", 0, "your provider",
         "host tcp443 tcp80 ttl1 ttl2 ttl3 ttl4"},
        {"point-to-point gateway dead", 0, "your network", "host tcp443 tcp80 ttl1 ttl2 ttl3 ttl4"},
    };
    for (const auto& c : cases) {
        std::string broken = c.broken;
        SCOPED_TRACE(broken + ", listening on " + std::to_string(c.tcp_port));
        ScriptedNetwork network;
        network.AddHost("probe.example", {{10, 0, 3, 2}});
        for (const char* name : {"gateway", "provider", "far"}) {
            Part(network, name).dead =
                broken.find(std::string(name) + " dead") != std::string::npos;
            Part(network, name).mute =
                broken.find(std::string(name) + " mute") != std::string::npos;
        }
        network.host = broken.find("host silent") == std::string::npos;
        network.host_losses = broken.find("host loses 1") != std::string::npos;
        network.gateway_losses = broken.find("gateway loses 1") != std::string::npos;
        network.routed = broken.find("on-link") == std::string::npos;
        network.point_to_point = broken.find("point-to-point") != std::string::npos;
        network.tcp_port = c.tcp_port;
        ReachabilityProbe probe(network, network, network.counters);
        EXPECT_EQ(Told(probe.Run("probe.example", 10000)), c.told);
        EXPECT_EQ(network.sent, c.sent);
        EXPECT_EQ(network.open_count, 0);
    }
}

// A gateway that never answers echoes says nothing by its silence (and is asked once):
// the rising time to live decides.
TEST(ReachabilityProbe, LaterCyclesUseWhatEarlierOnesLearnt) {
    ScriptedNetwork network;
    network.AddHost("probe.example", {{10, 0, 3, 2}});
    network.gateway_echoes = false;
    ReachabilityProbe probe(network, network, network.counters);
    ASSERT_TRUE(probe.Run("probe.example", 10000).round_trip_ms);

    network.routers[1].dead = true;
    EXPECT_EQ(probe.Run("probe.example", 10000).where, Where::YourProvider);
    network.routers[0].from = Address(100, 64, 0, 9);  // the gateway answers from its far side
    EXPECT_EQ(probe.Run("probe.example", 10000).where, Where::YourProvider);
    network.routers[0].dead = true;
    network.sent.clear();
    EXPECT_EQ(probe.Run("probe.example", 10000).where, Where::YourNetwork);
    EXPECT_EQ(network.sent, "host tcp443 tcp80 gateway ttl1 ttl2 ttl3 ttl4");  // one echo
}

// A failed lookup probes the host's last address: an answer is the name service's
// trouble, not the link's. A host never found, or new and unknown, sends nothing.
TEST(ReachabilityProbe, NameLookupFailuresAreNoOutage) {
    ScriptedNetwork network;
    ReachabilityProbe probe(network, network, network.counters);
    const struct {
        const char* host;
        bool known;     // the resolver knows it now
        bool forwards;  // the provider's router
        const char* told;
        const char* sent;
    } steps[] = {
        {"probe.example", false, true, "unfound", ""},
        {"probe.example", true, true, "20 ms", "host gateway"},
        {"probe.example", false, true, "20 ms (name failed)", "host gateway"},
        {"probe.example", false, false, "your provider",
         "host tcp443 tcp80 gateway ttl1 ttl2 ttl3 ttl4"},
        {"typo.example", false, true, "unfound", ""},
        {"probe.example", false, true, "unfound", ""},  // its address went with the change
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.host) + (step.known ? " known" : " unknown"));
        network.hosts.clear();
        if (step.known) {
            network.AddHost(step.host, {{10, 0, 3, 2}});
        }
        network.routers[1].dead = !step.forwards;
        network.sent.clear();
        EXPECT_EQ(Told(probe.Run(step.host, 10000)), step.told);
        EXPECT_EQ(network.sent, step.sent);
        EXPECT_EQ(network.open_count, 0);
    }
}

// A connect is suspect when it beats every echo the host ever answered, or the host never
// answered one: a portal or proxy on the way may have opened it.
TEST(ReachabilityProbe, TcpConnectsQuickerThanAnyEchoMayBeAProxy) {
    ScriptedNetwork network;
    network.AddHost("probe.example", {{10, 0, 3, 2}});
    network.tcp_port = 443;
    ReachabilityProbe probe(network, network, network.counters);
    const struct {
        bool echoes;
        uint32_t host_ms, tcp_ms;
        const char* told;
    } steps[] = {
        {false, 20, 30, "30 ms (TCP, proxy?)"},  // no echo yet
        {true, 20, 30, "20 ms"},
        {true, 25, 30, "25 ms"},
        {false, 0, 30, "30 ms (TCP)"},
        {false, 0, 20, "20 ms (TCP)"},
        {false, 0, 1, "1 ms (TCP, proxy?)"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.told);
        network.host = step.echoes;
        network.host_ms = step.host_ms;
        network.tcp_ms = step.tcp_ms;
        EXPECT_EQ(Told(probe.Run("probe.example", 10000)), step.told);
    }
}

// An extra probe, while the link is busy, is the load and one echo to the host's last
// address: no lookup, no TCP, no search for where a loss lies, and nothing at all before
// the host was found.
TEST(ReachabilityProbe, AnExtraProbeIsOneEchoBesideTheLoad) {
    ScriptedNetwork network;
    network.tcp_port = 443;
    ReachabilityProbe probe(network, network, network.counters);
    EXPECT_TRUE(probe.RunExtra(10000).unfound);
    EXPECT_EQ(network.sent, "");
    EXPECT_EQ(network.counters.reads, 0);

    network.AddHost("probe.example", {{10, 0, 3, 2}});
    EXPECT_TRUE(probe.Run("probe.example", 10000).load.has_value());
    network.hosts.clear();  // the name service went silent meanwhile: no matter
    const struct {
        bool host;
        const char* told;
    } steps[] = {{true, "20 ms"}, {false, ""}};  // a loss, nowhere in particular
    for (const auto& step : steps) {
        SCOPED_TRACE(step.told);
        network.host = step.host;
        network.sent.clear();
        ProbeOutcome outcome = probe.RunExtra(10000);
        EXPECT_EQ(Told(outcome), step.told);
        EXPECT_EQ(network.sent, "host");
        EXPECT_TRUE(outcome.load.has_value());
    }
    EXPECT_EQ(network.counters.reads, 3);
}

}  // namespace
}  // namespace zv::monitor
