#pragma once
#include <cstddef>
#include <cstdint>
namespace zv::win32 {
// One open connection to a test server, plain or under TLS. Blocking; each call is bounded
// by the timeout given when it was opened, and Close (from another thread) ends a call that waits.
class ByteStream {
  public:
    virtual ~ByteStream() = default;
    // Sends all of `size` bytes; false when the connection failed, timed out or was closed.
    virtual bool SendAll(const char* data, std::size_t size) = 0;
    // The payload bytes sent since the transport beneath first had no room for more (0 until
    // then). With its send buffer kept full from then on, as many as left the buffer, that is
    // as the peer acknowledged, give or take the buffer's changing fill.
    virtual int64_t SentSinceFull() const = 0;
    // Receives up to `size` bytes: the count, 0 when the peer closed, -1 on failure or timeout.
    virtual long Receive(char* data, std::size_t size) = 0;
    // Ends the connection; safe to call from another thread while a call waits.
    virtual void Close() = 0;
};
}  // namespace zv::win32
