#include "win32/vigilo/tcp_stream.h"

#include <algorithm>
#include <cstring>

namespace zv::win32 {
namespace {

using StartupFn = int(WSAAPI*)(WORD, LPWSADATA);
using CleanupFn = int(WSAAPI*)();

// Filled by hand: FD_SET would import a function of Windows Sockets.
fd_set Only(SOCKET s) {
    fd_set set{};
    set.fd_count = 1;
    set.fd_array[0] = s;
    return set;
}

// Sends never block: what does not fit waits for room in short slices, so that the send
// buffer is kept full rather than refilled only once a third of it drained, as a blocking
// send under Linux is, and the stream knows when it first filled. On a nonblocking stream
// socket send takes what fits and fails with WSAEWOULDBLOCK when nothing does (Windows
// Sockets, send and ioctlsocket FIONBIO); receives block, bounded by SO_RCVTIMEO.
class TcpStream : public ByteStream {
  public:
    TcpStream(const TcpSockets::Functions& fn, SOCKET s, DWORD timeout_ms)
        : fn_(fn), socket_(s), timeout_ms_(timeout_ms) {}
    ~TcpStream() override { fn_.closesocket(socket_); }

    bool SendAll(const char* data, std::size_t size) override {
        DWORD progress = GetTickCount();
        while (size > 0 && !closed_.load()) {
            bool no_room = false;
            int sent = SendWithoutWaiting(
                data, static_cast<int>(std::min<std::size_t>(size, 1 << 20)), no_room);
            if (no_room && GetTickCount() - progress < timeout_ms_) {
                full_ = true;
                Sleep(kRoomWaitMs);
                continue;
            }
            if (sent <= 0) {
                return false;
            }
            progress = GetTickCount();
            data += sent;
            size -= static_cast<std::size_t>(sent);
            sent_since_full_ += full_ ? sent : 0;
        }
        return size == 0;
    }
    int64_t SentSinceFull() const override { return sent_since_full_; }
    long Receive(char* data, std::size_t size) override {
        if (closed_.load()) {
            return -1;
        }
        int received =
            fn_.recv(socket_, data, static_cast<int>(std::min<std::size_t>(size, 1 << 20)), 0);
        return received < 0 ? -1 : received;
    }
    // The socket stays valid until the owner lets go of the stream, so that no call of
    // its thread can reach a handle Windows gave to another socket meanwhile; shutdown
    // ends a send or receive that waits.
    void Close() override {
        if (!closed_.exchange(true)) {
            fn_.shutdown(socket_, SD_BOTH);
        }
    }

  private:
    // A 10 Mbit/s link drains 12 KB in this time: the buffer stays within that of full.
    static constexpr DWORD kRoomWaitMs = 10;

    int SendWithoutWaiting(const char* data, int size, bool& no_room) {
        u_long mode = 1;
        fn_.ioctlsocket(socket_, FIONBIO, &mode);
        int sent = fn_.send(socket_, data, size, 0);
        no_room = sent == SOCKET_ERROR && fn_.last_error() == WSAEWOULDBLOCK;
        mode = 0;
        fn_.ioctlsocket(socket_, FIONBIO, &mode);
        return sent;
    }

    const TcpSockets::Functions& fn_;
    SOCKET socket_;
    DWORD timeout_ms_;
    std::atomic<bool> closed_{false};
    bool full_ = false;
    int64_t sent_since_full_ = 0;
};

}  // namespace

double PreciseNowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

TcpSockets::TcpSockets() {
    StartupFn startup = library_.Function<StartupFn>("WSAStartup");
    Functions& f = fn_;
    WSADATA data;
    started_ = library_.FindAll(f.socket, "socket", f.connect, "connect", f.select, "select",
                                f.ioctlsocket, "ioctlsocket", f.send, "send", f.recv, "recv",
                                f.shutdown, "shutdown", f.closesocket, "closesocket", f.setsockopt,
                                "setsockopt", f.last_error, "WSAGetLastError", f.getaddrinfo,
                                "getaddrinfo", f.freeaddrinfo, "freeaddrinfo") &&
               startup != nullptr && startup(MAKEWORD(2, 2), &data) == 0;
}

TcpSockets::~TcpSockets() {
    if (started_) {
        if (CleanupFn cleanup = library_.Function<CleanupFn>("WSACleanup")) {
            cleanup();
        }
    }
}

// A non-blocking connect, its completion looked for every 100 ms: writable is open, the
// error set is refused or failed (Windows reports a failed connect there, not in writable).
bool TcpSockets::Opens(SOCKET s, const addrinfo& address, int timeout_ms,
                       const std::atomic<bool>& cancelled) {
    u_long non_blocking = 1;
    if (fn_.ioctlsocket(s, FIONBIO, &non_blocking) != 0 ||
        (fn_.connect(s, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0 &&
         fn_.last_error() != WSAEWOULDBLOCK)) {
        return false;
    }
    for (int waited = 0; waited < timeout_ms && !cancelled.load(); waited += 100) {
        fd_set writable = Only(s);
        fd_set failed = Only(s);
        timeval slice{0, 100000};
        int ready = fn_.select(0, nullptr, &writable, &failed, &slice);
        if (ready < 0 || failed.fd_count != 0) {
            return false;
        }
        if (ready > 0 && writable.fd_count == 1) {
            u_long blocking = 0;
            return fn_.ioctlsocket(s, FIONBIO, &blocking) == 0;
        }
    }
    return false;
}

TcpSockets::Opened TcpSockets::Connect(const std::string& host, int port, int timeout_ms,
                                       const std::atomic<bool>& cancelled) {
    Opened opened;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    if (!started_ ||
        fn_.getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        opened.error = started_ ? "The name " + host + " was not found."
                                : "Windows Sockets 2 is not available.";
        return opened;
    }
    opened.error =
        "The server " + host + " did not accept a connection on port " + std::to_string(port) + ".";
    for (addrinfo* address = found; address != nullptr && !cancelled.load();
         address = address->ai_next) {
        SOCKET s = fn_.socket(address->ai_family, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) {
            continue;
        }
        double start = PreciseNowMs();
        if (!Opens(s, *address, timeout_ms, cancelled)) {
            fn_.closesocket(s);
            continue;
        }
        opened.connect_ms = PreciseNowMs() - start;
        DWORD timeout = static_cast<DWORD>(timeout_ms);
        fn_.setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                       sizeof timeout);
        // A send buffer of fixed size, so that an upload's fill stays what it first was and
        // the bytes beyond it are the bytes delivered (SentSinceFull): Linux, beneath Wine,
        // grows the buffer with the flow's window unless SO_SNDBUF is set (tcp(7)). 256 KB
        // still fills 5 Mbit/s at 400 ms a connection.
        int send_buffer = 256 * 1024;
        fn_.setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&send_buffer),
                       sizeof send_buffer);
        BOOL no_delay = TRUE;
        fn_.setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&no_delay),
                       sizeof no_delay);
        opened.ipv6 = address->ai_family == AF_INET6;
        opened.stream = std::make_unique<TcpStream>(fn_, s, timeout);
        opened.error.clear();
        break;
    }
    fn_.freeaddrinfo(found);
    return opened;
}

}  // namespace zv::win32
