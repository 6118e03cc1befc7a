// Plain TCP connections for the responsiveness test, through Windows Sockets 2 looked up
// at run time in ws2_32.dll (getaddrinfo is there from XP on): a connect whose handshake
// is timed, waited for in short slices so that a cancel ends it, and a stream whose receives
// block and whose sends wait for room in short slices, each bounded by the timeout it was
// opened with.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <memory>
#include <string>

#include "win32/platform/system_library.h"
#include "win32/vigilo/byte_stream.h"

namespace zv::win32 {

// The performance counter in milliseconds, for the round trips the test times.
double PreciseNowMs();

class TcpSockets {
  public:
    TcpSockets();
    ~TcpSockets();
    TcpSockets(const TcpSockets&) = delete;
    TcpSockets& operator=(const TcpSockets&) = delete;
    bool Ready() const { return started_; }

    struct Opened {
        std::unique_ptr<ByteStream> stream;
        double connect_ms = 0;  // from the SYN sent to the connection open
        bool ipv6 = false;
        std::string error;  // when no stream
    };
    // Connects to the host's first address that answers; gives up at timeout_ms or as
    // soon as `cancelled` is set.
    Opened Connect(const std::string& host, int port, int timeout_ms,
                   const std::atomic<bool>& cancelled);

    using SocketFn = SOCKET(WSAAPI*)(int, int, int);
    using ConnectFn = int(WSAAPI*)(SOCKET, const sockaddr*, int);
    using SelectFn = int(WSAAPI*)(int, fd_set*, fd_set*, fd_set*, const timeval*);
    using IoctlFn = int(WSAAPI*)(SOCKET, long, u_long*);
    using SendFn = int(WSAAPI*)(SOCKET, const char*, int, int);
    using RecvFn = int(WSAAPI*)(SOCKET, char*, int, int);
    using ShutdownFn = int(WSAAPI*)(SOCKET, int);
    using CloseFn = int(WSAAPI*)(SOCKET);
    using SetOptFn = int(WSAAPI*)(SOCKET, int, int, const char*, int);
    using LastErrorFn = int(WSAAPI*)();
    using GetAddrInfoFn = int(WSAAPI*)(const char*, const char*, const addrinfo*, addrinfo**);
    using FreeAddrInfoFn = void(WSAAPI*)(addrinfo*);
    struct Functions {
        SocketFn socket;
        ConnectFn connect;
        SelectFn select;
        IoctlFn ioctlsocket;
        SendFn send;
        RecvFn recv;
        ShutdownFn shutdown;
        CloseFn closesocket;
        SetOptFn setsockopt;
        LastErrorFn last_error;
        GetAddrInfoFn getaddrinfo;
        FreeAddrInfoFn freeaddrinfo;
    };

  private:
    bool Opens(SOCKET s, const addrinfo& address, int timeout_ms,
               const std::atomic<bool>& cancelled);

    SystemLibrary library_{"ws2_32.dll"};
    Functions fn_{};
    bool started_ = false;
};

}  // namespace zv::win32
