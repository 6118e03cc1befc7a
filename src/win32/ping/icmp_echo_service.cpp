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

IcmpEchoService::IcmpEchoService() : iphlpapi_("iphlpapi.dll"), icmp_("icmp.dll") {}

void IcmpEchoService::Resolve() {
    if (resolved_) {
        return;
    }
    resolved_ = true;
    SystemLibrary& library =
        iphlpapi_.Function<CreateFn>("IcmpCreateFile") != nullptr ? iphlpapi_ : icmp_;
    create_ = library.Function<CreateFn>("IcmpCreateFile");
    send_echo_ = library.Function<SendEchoFn>("IcmpSendEcho");
    close_ = library.Function<CloseFn>("IcmpCloseHandle");
}

IcmpEchoService::~IcmpEchoService() {
    if (close_ != nullptr && handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr) {
        close_(handle_);
    }
}

ping::EchoHandle IcmpEchoService::Open() {
    Resolve();
    if ((handle_ == INVALID_HANDLE_VALUE || handle_ == nullptr) && create_ != nullptr) {
        handle_ = create_();
    }
    return reinterpret_cast<ping::EchoHandle>(handle_);
}

uint32_t IcmpEchoService::SendEcho(ping::EchoHandle handle, uint32_t address,
                                   std::string_view payload, int32_t timeout_ms) {
    return SendTimedEcho(handle, address, payload, timeout_ms).status;
}

ping::EchoResult IcmpEchoService::SendTimedEcho(ping::EchoHandle handle, uint32_t address,
                                                std::string_view payload, int32_t timeout_ms) {
    HANDLE icmp = reinterpret_cast<HANDLE>(handle);
    if (send_echo_ == nullptr || icmp == INVALID_HANDLE_VALUE || icmp == nullptr) {
        return {IP_GENERAL_FAILURE, 0};
    }
    std::string request(payload);
    ReplyBuffer buffer;
    std::memset(&buffer, 0, sizeof buffer);
    SetLastError(0);
    DWORD replies =
        send_echo_(icmp, address, request.data(), static_cast<WORD>(request.size()), nullptr,
                   &buffer, sizeof buffer, static_cast<DWORD>(timeout_ms < 0 ? 0 : timeout_ms));
    if (replies > 0) {
        return {buffer.reply.Status, buffer.reply.RoundTripTime};
    }
    DWORD error = GetLastError();
    return {error != 0 ? error : IP_GENERAL_FAILURE, 0};
}

void IcmpEchoService::Close(ping::EchoHandle) {}

}  // namespace zv::win32
