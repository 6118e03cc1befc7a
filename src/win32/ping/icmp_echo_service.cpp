#include "win32/ping/icmp_echo_service.h"

#include <cstring>
#include <string>

namespace zv::win32 {

namespace {

// Room for the reply record in this platform's layout, the echoed payload, the 8 bytes of
// an ICMP error message, and IP options: far more than the 278 bytes of the 32-bit layout.
struct ReplyBuffer {
    ICMP_ECHO_REPLY reply;
    unsigned char data[256 + 8 + 40];
};

}  // namespace

IcmpEchoService::IcmpEchoService()
    : iphlpapi_("iphlpapi.dll"),
      icmp_("icmp.dll"),
      library_(iphlpapi_.Function<CreateFn>("IcmpCreateFile") != nullptr ? iphlpapi_ : icmp_),
      create_(library_.Function<CreateFn>("IcmpCreateFile")),
      send_echo_(library_.Function<SendEchoFn>("IcmpSendEcho")),
      close_(library_.Function<CloseFn>("IcmpCloseHandle")) {}

ping::EchoHandle IcmpEchoService::Open() {
    HANDLE handle = create_ != nullptr ? create_() : INVALID_HANDLE_VALUE;
    return reinterpret_cast<ping::EchoHandle>(handle);
}

uint32_t IcmpEchoService::SendEcho(ping::EchoHandle handle, uint32_t address,
                                   std::string_view payload, int32_t timeout_ms) {
    HANDLE icmp = reinterpret_cast<HANDLE>(handle);
    if (send_echo_ == nullptr || icmp == INVALID_HANDLE_VALUE || icmp == nullptr) {
        return IP_GENERAL_FAILURE;
    }
    std::string request(payload);
    ReplyBuffer buffer;
    std::memset(&buffer, 0, sizeof buffer);
    SetLastError(0);
    DWORD replies =
        send_echo_(icmp, address, request.data(), static_cast<WORD>(request.size()), nullptr,
                   &buffer, sizeof buffer, static_cast<DWORD>(timeout_ms < 0 ? 0 : timeout_ms));
    if (replies > 0) {
        return buffer.reply.Status;
    }
    DWORD error = GetLastError();
    return error != 0 ? error : IP_GENERAL_FAILURE;
}

void IcmpEchoService::Close(ping::EchoHandle handle) {
    HANDLE icmp = reinterpret_cast<HANDLE>(handle);
    if (close_ != nullptr && icmp != INVALID_HANDLE_VALUE && icmp != nullptr) {
        close_(icmp);
    }
}

}  // namespace zv::win32
