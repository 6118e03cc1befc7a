// The responsiveness test's connections on Windows: each opened to a URL (plain TCP, or TLS
// over it where the build has it), tracked while open so that the test's controller can
// close them all from its own thread, and the HTTP/1.1 work each does: a probe, a download
// that repeats, an upload that streams, a configuration fetched.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "win32/platform/critical_section.h"
#include "monitor/rpm_run.h"
#include "monitor/rpm_server.h"
#include "win32/vigilo/tcp_stream.h"

namespace zv::win32 {

inline constexpr int kRpmIoTimeoutMs = 10000;

// What the controller shares with the threads of one test.
struct RpmShared {
    TcpSockets sockets;
    std::atomic<bool> cancelled{false};
    // Raised at each change of phase: a load connection of an older one ends.
    std::atomic<int> generation{0};
    std::atomic<int64_t> bytes{0};  // moved by the load of the current generation
    std::atomic<bool> ipv6{false};
    CriticalSection lock;
    // Under lock, each with whether it carries load.
    std::vector<std::pair<std::shared_ptr<ByteStream>, bool>> open;
    std::vector<monitor::rpm::ProbeSample> finished;  // under lock
    std::string first_error;                          // under lock

    // Closes every open connection, or those of loads only when `loads_only`.
    void CloseAll(bool loads_only);
    void Note(const std::string& error);
};

// A stream to the URL's server, tracked in `shared.open` until the holder drops it.
class TrackedStream {
  public:
    TrackedStream(RpmShared& shared, const monitor::rpm::Url& url, bool load);
    ~TrackedStream();
    TrackedStream(const TrackedStream&) = delete;
    TrackedStream& operator=(const TrackedStream&) = delete;
    ByteStream* get() const { return stream_.get(); }
    double connect_ms() const { return connect_ms_; }
    double tls_ms() const { return tls_ms_; }

  private:
    RpmShared& shared_;
    std::shared_ptr<ByteStream> stream_;
    double connect_ms_ = 0;
    double tls_ms_ = 0;
};

// The small GET on a new connection, timed: its sample goes to `shared.finished`.
void RunProbe(RpmShared& shared, const monitor::rpm::Url& small, monitor::rpm::Phase phase);
// The large download, again and again, while `generation` is current.
void RunDownload(RpmShared& shared, const monitor::rpm::Url& large, int generation);
// One upload of up to `cap` bytes, streamed while `generation` is current. It counts what
// left its send buffer (ByteStream::SentSinceFull), not what send() took, which reads high
// by a buffer's worth for each connection that joins.
void RunUpload(RpmShared& shared, const monitor::rpm::Url& upload, int generation, int64_t cap);
// The body of a configuration URL (up to 64 KB), or nothing with the reason noted.
std::optional<std::string> FetchText(RpmShared& shared, const monitor::rpm::Url& url);

}  // namespace zv::win32
