// The platform services the ping layer stands on: Windows Sockets (start-up, clean-up and
// name resolution), the ICMP echo service, and the player of the ping sound. Each is written
// from what the layer expects of it, so that tests can script it and the Win32 layer can
// implement it once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv::ping {

// What a start-up reports: the call's result and the two fields of the start-up record
// that the engine reads.
struct SocketsStartup {
    int result = 0;            // 0 on success
    uint16_t wVersion = 0;     // low byte major, high byte minor
    uint16_t iMaxSockets = 0;  // sockets the implementation offers
};

// A host entry, copied out of the resolver's storage: bytes per address and the addresses
// in the resolver's order.
struct HostEntry {
    int address_length = 0;
    std::vector<std::vector<uint8_t>> addresses;
};

class SocketsService {
  public:
    virtual ~SocketsService() = default;
    virtual SocketsStartup Startup(uint16_t requested_version) = 0;
    // 0 on success, otherwise the platform's error value (-1).
    virtual int Cleanup() = 0;
    // Nothing when the name is unknown.
    virtual std::optional<HostEntry> GetHostByName(const std::string& name) = 0;
    // Opens a TCP connection to the address (network byte order) and port and closes it at
    // once, sending nothing; the time it took to open, or nothing when it did not within
    // the timeout. Windows Sockets is started.
    virtual std::optional<uint32_t> ConnectMs(uint32_t address, uint16_t port, int32_t timeout_ms) {
        static_cast<void>(address), static_cast<void>(port), static_cast<void>(timeout_ms);
        return std::nullopt;
    }
};

using EchoHandle = std::uintptr_t;

// What came back for one request: the reply's status and its round-trip time in ms.
struct EchoResult {
    uint32_t status = 0;
    uint32_t round_trip_ms = 0;
    uint32_t from = 0;  // the address that replied (network byte order), 0 when unknown
};

// Status values are the platform's; only 0 means an echo reply came back in time.
inline constexpr uint32_t kEchoPacketTooBig = 11009;  // a link on the way cannot carry it whole
inline constexpr uint32_t kEchoGeneralFailure = 11050;

class EchoService {
  public:
    virtual ~EchoService() = default;
    virtual EchoHandle Open() = 0;
    // Sends one request to the address (network byte order: the first octet in the lowest
    // byte) and waits up to the timeout; returns the reply's status.
    virtual uint32_t SendEcho(EchoHandle handle, uint32_t address, std::string_view payload,
                              int32_t timeout_ms) = 0;
    // The same exchange, with the reply's round-trip time; a service that cannot measure
    // it reports 0 ms.
    virtual EchoResult SendTimedEcho(EchoHandle handle, uint32_t address, std::string_view payload,
                                     int32_t timeout_ms) {
        return {SendEcho(handle, address, payload, timeout_ms), 0};
    }
    // The same exchange with the don't-fragment flag set: a link on the way that cannot
    // carry the packet whole refuses it rather than splitting it, which is how the largest
    // packet a path carries is found. Never 0 for a request that could not go out so;
    // kEchoPacketTooBig for a refusal, whether it came back as the reply's status or as
    // the call's error.
    virtual uint32_t SendUnfragmentedEcho(EchoHandle handle, uint32_t address,
                                          std::string_view payload, int32_t timeout_ms) = 0;
    // The same exchange with the given time to live: a router on the way where it runs out
    // replies in the host's stead (a status the platform names, with its address). A
    // service that cannot set it reports a general failure.
    virtual EchoResult SendTtlEcho(EchoHandle handle, uint32_t address, std::string_view payload,
                                   uint8_t ttl, int32_t timeout_ms) {
        static_cast<void>(handle), static_cast<void>(address), static_cast<void>(payload);
        static_cast<void>(ttl), static_cast<void>(timeout_ms);
        return {kEchoGeneralFailure, 0, 0};
    }
    virtual void Close(EchoHandle handle) = 0;
    // The MTU of the interface the system routes the address through (network byte
    // order), or nothing where the system cannot tell.
    virtual std::optional<uint32_t> InterfaceMtu(uint32_t address) {
        static_cast<void>(address);
        return std::nullopt;
    }
    // The gateway the system routes the address through; nothing when the address is on
    // the local link, no route leads there or the system cannot tell.
    virtual std::optional<uint32_t> Gateway(uint32_t address) {
        static_cast<void>(address);
        return std::nullopt;
    }
    // Whether the route to the address leaves over a point-to-point link (dial-up, PPPoE,
    // PPTP, L2TP), whose next hop is the computer's own address or none at all: the first
    // router on the way is then the far end of that link.
    virtual bool PointToPoint(uint32_t address) {
        static_cast<void>(address);
        return false;
    }
};

// Plays a wave file in the background. The ping sound is the only sound the programs make
// from a file.
class SoundPort {
  public:
    virtual ~SoundPort() = default;
    // Returns at once; a file that cannot be played gives silence, never a default sound.
    virtual void PlayWaveFile(const std::string& path) = 0;
};

}  // namespace zv::ping
