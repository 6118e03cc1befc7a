// Scripted stand-ins for the ping engine's platform services: Windows Sockets with a
// start-up count and a hosts table, an echo service that records each request, a sound
// port that records what it played, and a keep-alive worker that pings at once.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ping/echo_ports.h"
#include "ping/keep_alive_ping.h"

namespace zv::testing {

class ScriptedSockets : public ping::SocketsService {
  public:
    ping::SocketsStartup startup{0, 0x0101, 100};    // every start-up's answer...
    std::deque<ping::SocketsStartup> next_startups;  // ...unless one is scripted here
    int cleanup_result = 0;
    std::map<std::string, ping::HostEntry> hosts;
    std::optional<uint32_t> connect_ms;  // a TCP connect's time to every host; nothing: refused

    int startups = 0;  // successful start-ups
    int cleanups = 0;
    int open_count = 0;  // start-ups not yet cleaned up
    std::vector<std::string> lookups;

    ping::SocketsStartup Startup(uint16_t requested_version) override {
        requested = requested_version;
        ping::SocketsStartup answer = startup;
        if (!next_startups.empty()) {
            answer = next_startups.front();
            next_startups.pop_front();
        }
        if (answer.result == 0) {
            ++startups;
            ++open_count;
        }
        return answer;
    }

    std::optional<uint32_t> ConnectMs(uint32_t, uint16_t, int32_t) override { return connect_ms; }

    int Cleanup() override {
        ++cleanups;
        --open_count;
        return cleanup_result;
    }

    std::optional<ping::HostEntry> GetHostByName(const std::string& name) override {
        lookups.push_back(name);
        auto it = hosts.find(name);
        if (it == hosts.end()) {
            return std::nullopt;
        }
        return it->second;
    }

    void AddHost(const std::string& name, std::vector<std::vector<uint8_t>> addresses) {
        hosts[name] = ping::HostEntry{4, std::move(addresses)};
    }

    uint16_t requested = 0;
};

struct EchoRequest {
    ping::EchoHandle handle;
    uint32_t address;
    std::string payload;
    int32_t timeout_ms;
    bool sockets_started;  // Windows Sockets was up when the request went out
    bool dont_fragment = false;
};

class ScriptedEcho : public ping::EchoService {
  public:
    explicit ScriptedEcho(const ScriptedSockets& sockets) : sockets_(sockets) {}

    uint32_t status = 0;         // what every reply says
    uint32_t round_trip_ms = 0;  // and how long it took
    // The largest packet, headers included, that a don't-fragment request may be; larger
    // ones are refused as too big.
    size_t path_mtu = 65535;
    std::vector<EchoRequest> requests;
    std::vector<ping::EchoHandle> closed;
    ping::EchoHandle next_handle = 7;

    ping::EchoHandle Open() override { return next_handle++; }

    uint32_t SendEcho(ping::EchoHandle handle, uint32_t address, std::string_view payload,
                      int32_t timeout_ms) override {
        requests.push_back(
            {handle, address, std::string(payload), timeout_ms, sockets_.open_count > 0});
        return status;
    }

    ping::EchoResult SendTimedEcho(ping::EchoHandle handle, uint32_t address,
                                   std::string_view payload, int32_t timeout_ms) override {
        return {SendEcho(handle, address, payload, timeout_ms), round_trip_ms};
    }

    uint32_t SendUnfragmentedEcho(ping::EchoHandle handle, uint32_t address,
                                  std::string_view payload, int32_t timeout_ms) override {
        SendEcho(handle, address, payload, timeout_ms);
        requests.back().dont_fragment = true;
        return payload.size() + 28 <= path_mtu ? status : kPacketTooBig;
    }
    static constexpr uint32_t kPacketTooBig = 11009;

    void Close(ping::EchoHandle handle) override { closed.push_back(handle); }

  private:
    const ScriptedSockets& sockets_;
};

class RecordingSound : public ping::SoundPort {
  public:
    std::vector<std::string> played;
    void PlayWaveFile(const std::string& path) override { played.push_back(path); }
};

// Runs each keep-alive ping over the scripted services as it starts, and hands the
// outcome to `deliver`, when set, at once.
class InlinePingWorker : public ping::PingWorkerPort {
  public:
    InlinePingWorker(ping::SocketsService& sockets, ping::EchoService& echo)
        : sockets_(sockets), echo_(echo) {}
    std::vector<std::string> hosts;
    std::function<void(const ping::KeepAliveOutcome&)> deliver;

    void StartPing(const std::string& host, int32_t timeout_ms) override {
        hosts.push_back(host);
        ping::KeepAliveOutcome outcome = ping::PingQuietly(sockets_, echo_, host, timeout_ms);
        if (deliver) {
            deliver(outcome);
        }
    }

  private:
    ping::SocketsService& sockets_;
    ping::EchoService& echo_;
};

}  // namespace zv::testing
