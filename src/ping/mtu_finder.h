// Finding the largest packet that reaches a host whole: echo requests with the
// don't-fragment flag, sized as whole packets, in a binary search between 576 (the least
// MTU every IPv4 host must take) and the MTU of the interface that routes to the host
// (Ethernet's 1500 where Windows cannot tell). Only a "too big" answer proves a size too
// big: a lost echo is asked again, and the size found is asked once more to confirm it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "ping/echo_ports.h"

namespace zv::ping {

inline constexpr int kMtuFloor = 576;
// The ceiling when the interface's MTU is unknown, and the largest IPv4 packet.
inline constexpr int kMtuDefaultCeiling = 1500;
inline constexpr int kMtuLargestPacket = 65535;
// The IPv4 header and the ICMP echo header: an echo carrying MTU - 28 bytes is a packet of
// exactly MTU bytes.
inline constexpr int kEchoHeaderBytes = 28;
// Short: a packet too big is refused at once; only a lost one waits this long.
inline constexpr int32_t kMtuEchoTimeoutMs = 1000;
// A size whose echo is lost is asked this many times more before it counts as not carried.
inline constexpr int kMtuEchoRetries = 2;
// The progress of a search, in percent of its sizes.
inline constexpr int kMtuProgressDone = 100;

enum class MtuOutcome {
    Found,          // mtu is the largest packet that came back, twice
    NoReply,        // not even a packet of the floor's size came back
    BlackHole,      // only the floor came back; every larger one was lost without a word
    Uncertain,      // the answers contradict each other
    Cancelled,      // stopped between two echoes
    UnknownHost,    // the name is unknown, or the text is no address
    SocketsFailed,  // Windows Sockets could not start; failure says why
};

struct MtuSearchResult {
    MtuOutcome outcome = MtuOutcome::NoReply;
    int mtu = 0;
    int echoes = 0;
    std::string failure;
    // The host's IPv4 address in network byte order, once it was resolved: the adapter that
    // routes to it is the one "Use for This Adapter" sets.
    uint32_t address = 0;
};

// Told before each echo: the share of the search done (0 to 99 percent) and the packet
// size it tries.
using MtuProgress = std::function<void(int percent, int mtu)>;

// Runs on whichever thread calls it: it touches nothing but its two ports.
class MtuFinder {
  public:
    MtuFinder(SocketsService& sockets, EchoService& echo) : sockets_(sockets), echo_(echo) {}

    // Resolves the host as the keep-alive ping does, then searches up to the MTU of the
    // interface that routes to it; cancelled is read before each echo.
    MtuSearchResult Find(const std::string& host, const std::atomic<bool>& cancelled,
                         const MtuProgress& progress);

  private:
    SocketsService& sockets_;
    EchoService& echo_;
};

// What the dialog says of a result: "Largest MTU: 1400", or why there is none.
std::string DescribeMtuResult(const MtuSearchResult& result, const std::string& host);

}  // namespace zv::ping
