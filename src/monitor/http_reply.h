// The HTTP/1.1 the responsiveness test speaks: its requests, and the head of a reply read
// from a connection (status, length, chunking, whether the server closes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "monitor/rpm_server.h"

namespace zv::monitor::rpm {

// A reply's head is refused beyond this size.
inline constexpr std::size_t kMaxHeadBytes = 16384;

std::string GetRequest(const Url& url);
// A POST whose body of `length` bytes follows.
std::string UploadRequest(const Url& url, int64_t length);

struct ReplyHead {
    int status = 0;
    std::optional<int64_t> content_length;
    bool chunked = false;
    bool closes = false;         // "Connection: close"
    std::size_t head_bytes = 0;  // up to and with the blank line
};

enum class HeadState { Incomplete, Malformed, Complete };
// The head at the start of `received`: Incomplete while its blank line has not come (and
// the bytes are within kMaxHeadBytes), Malformed for anything but "HTTP/1.x NNN ..." with
// well-formed header lines and at most one plain decimal Content-Length.
HeadState ReadReplyHead(const std::string& received, ReplyHead& head);

}  // namespace zv::monitor::rpm
