// StartTls against the sandbox's web servers (--servers): a GET, an upload and a large
// download through TLS; a clear reason for each server it must refuse; and Close from
// another thread ending a wait at once.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/check.h"
#include "support/scenario_runner.h"
#include "win32/vigilo/tls_stream.h"

namespace e2e = zv::e2e;
using zv::win32::ByteStream;

namespace {

// A blocking TCP connection, bounded by socket timeouts; Close shuts it down, which ends a
// wait in another thread.
class SocketStream : public ByteStream {
  public:
    explicit SocketStream(SOCKET socket) : socket_(socket) {}
    ~SocketStream() override { closesocket(socket_); }
    bool SendAll(const char* data, std::size_t size) override {
        for (int sent = 0; size > 0; data += sent, size -= static_cast<std::size_t>(sent)) {
            sent = send(socket_, data, static_cast<int>(size), 0);
            if (sent <= 0) {
                return false;
            }
        }
        return true;
    }
    int64_t SentSinceFull() const override { return 0; }  // not asked here
    long Receive(char* data, std::size_t size) override {
        int count = recv(socket_, data, static_cast<int>(size), 0);
        return count < 0 ? -1 : count;
    }
    void Close() override { shutdown(socket_, SD_BOTH); }

  private:
    SOCKET socket_;
};

std::unique_ptr<ByteStream> Connect(const char* address, unsigned short port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    DWORD timeout_ms = 5000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<char*>(&timeout_ms), sizeof timeout_ms);
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<char*>(&timeout_ms), sizeof timeout_ms);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    inet_pton(AF_INET, address, &to.sin_addr);
    if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        closesocket(s);
        return nullptr;
    }
    return std::make_unique<SocketStream>(s);
}

std::unique_ptr<ByteStream> Tls(unsigned short port, const wchar_t* name, std::string& error) {
    std::unique_ptr<ByteStream> plain = Connect("10.19.3.2", port);
    if (!E2E_CHECK(plain != nullptr)) {
        return nullptr;
    }
    return zv::win32::StartTls(std::move(plain), name, error);
}

// Sends the request and reads until the server closes: the whole response.
std::string Exchange(ByteStream& stream, const std::string& request) {
    E2E_CHECK(stream.SendAll(request.data(), request.size()));
    std::string response;
    char chunk[8192];
    for (long count; (count = stream.Receive(chunk, sizeof chunk)) > 0;) {
        response.append(chunk, static_cast<std::size_t>(count));
    }
    return response;
}

std::string Request(const std::string& head, const std::string& fields = "") {
    return head + " HTTP/1.1\r\nHost: nq.zorvane.test\r\nConnection: close\r\n" + fields + "\r\n";
}

void Fetches() {
    std::string error;
    if (auto stream = Tls(443, L"nq.zorvane.test", error); E2E_CHECK_EQ(error, "")) {
        std::string response = Exchange(*stream, Request("GET /small"));
        E2E_CHECK_STARTS_WITH(response, "HTTP/1.1 200");
        E2E_CHECK_ENDS_WITH(response, "\r\n\r\nx");
    }
    if (auto stream = Tls(443, L"nq.zorvane.test", error); E2E_CHECK_EQ(error, "")) {
        const std::size_t size = 3000000;  // many records each way
        std::string response =
            Exchange(*stream, Request("POST /upload", "Content-Length: 3000000\r\n") +
                                  std::string(size, 'u'));
        E2E_CHECK_STARTS_WITH(response, "HTTP/1.1 200");
        stream = Tls(443, L"nq.zorvane.test", error);
        response = Exchange(*stream, Request("GET /large", "Range: bytes=0-2999999\r\n"));
        E2E_CHECK_STARTS_WITH(response, "HTTP/1.1 206");
        E2E_CHECK_EQ(response.size() - response.find("\r\n\r\n") - 4, size);
    }
}

void RefusesWithAReason() {
    const struct {
        unsigned short port;
        const wchar_t* name;
        const char* reason;
    } kRefused[] = {
        {8443, L"nq.zorvane.test", "an authority this Windows does not trust"},
        {443, L"nq.example.test", "made out to another name"},
        {80, L"nq.zorvane.test", "answers plain HTTP on this port, not TLS"},
    };
    for (const auto& server : kRefused) {
        e2e::Context in("port " + std::to_string(server.port));
        std::string error;
        E2E_CHECK(Tls(server.port, server.name, error) == nullptr);
        E2E_CHECK_CONTAINS(error, server.reason);
        std::printf("port %u: %s\n", server.port, error.c_str());
    }
}

struct PendingReceive {
    ByteStream* stream;
    long result = 1;
};

DWORD WINAPI ReceiveOneByte(void* parameter) {
    auto* pending = static_cast<PendingReceive*>(parameter);
    char byte;
    pending->result = pending->stream->Receive(&byte, 1);
    return 0;
}

void CloseEndsAWait() {
    std::string error;
    std::unique_ptr<ByteStream> stream = Tls(443, L"nq.zorvane.test", error);
    if (!E2E_CHECK(stream != nullptr)) {
        return;
    }
    // The server waits for a request that never comes.
    PendingReceive pending{stream.get()};
    HANDLE thread = CreateThread(nullptr, 0, ReceiveOneByte, &pending, 0, nullptr);
    E2E_CHECK_EQ(WaitForSingleObject(thread, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    stream->Close();
    E2E_CHECK_EQ(WaitForSingleObject(thread, 1000), static_cast<DWORD>(WAIT_OBJECT_0));
    E2E_CHECK(pending.result <= 0);
    CloseHandle(thread);
}

void Run() {
    WSADATA data;
    if (!E2E_CHECK_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0)) {
        return;
    }
    e2e::Tally::Get().report_screen_on_first_failure = false;
    Fetches();
    RefusesWithAReason();
    CloseEndsAWait();
    WSACleanup();
}

}  // namespace

int main(int argc, char** argv) {
    return e2e::RunNamedScenario({{"", Run}}, argc, argv);
}
