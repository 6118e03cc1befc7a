// Finding the largest packet that reaches a host whole: echo requests with the
// don't-fragment flag, sized as whole packets, in a binary search between 576 (the least
// MTU every IPv4 host must take) and Ethernet's 1500. One echo proves the floor and ten
// more narrow the 925 sizes to one, so no search sends more than eleven.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "ping/echo_ports.h"

namespace zv::ping {

inline constexpr int kMtuFloor = 576;
inline constexpr int kMtuCeiling = 1500;
// The IPv4 header and the ICMP echo header: an echo carrying MTU - 28 bytes is a packet of
// exactly MTU bytes.
inline constexpr int kEchoHeaderBytes = 28;
inline constexpr int kMaxMtuEchoes = 11;
// Short: a packet too big is refused at once; only a lost one waits this long.
inline constexpr int32_t kMtuEchoTimeoutMs = 1000;

enum class MtuOutcome {
    Found,          // mtu is the largest packet that came back
    NoReply,        // not even a packet of the floor's size came back
    Cancelled,      // stopped between two echoes
    UnknownHost,    // the name is unknown, or the text is no address
    SocketsFailed,  // Windows Sockets could not start; failure says why
};

struct MtuSearchResult {
    MtuOutcome outcome = MtuOutcome::NoReply;
    int mtu = 0;
    int echoes = 0;
    std::string failure;
};

// Told before each echo: its number, counting from 1, and the packet size it tries.
using MtuProgress = std::function<void(int echo, int mtu)>;

// Runs on whichever thread calls it: it touches nothing but its two ports.
class MtuFinder {
  public:
    MtuFinder(SocketsService& sockets, EchoService& echo) : sockets_(sockets), echo_(echo) {}

    // Resolves the host as the keep-alive ping does, then searches; cancelled is read
    // before each echo.
    MtuSearchResult Find(const std::string& host, const std::atomic<bool>& cancelled,
                         const MtuProgress& progress);

  private:
    SocketsService& sockets_;
    EchoService& echo_;
};

// What the dialog says of a result: "Largest MTU: 1400", or why there is none.
std::string DescribeMtuResult(const MtuSearchResult& result, const std::string& host);

}  // namespace zv::ping
