#include "win32/ping/icmp_echo_service.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "win32/ping/mtu_of_route.h"

namespace zv::win32 {

namespace {

// Room for the reply record in this platform's layout, the echoed payload (never less
// than 256 bytes), the 8 bytes of an ICMP error message, and IP options: far more than the
// 278 bytes of the 32-bit layout.
size_t ReplyBytes(size_t payload_bytes) {
    return sizeof(ICMP_ECHO_REPLY) + std::max<size_t>(payload_bytes, 256) + 8 + 40;
}

// The time to live Windows gives its own packets; a request with options must name one.
constexpr UCHAR kTimeToLive = 128;

}  // namespace

IcmpEchoService::IcmpEchoService() : iphlpapi_("iphlpapi.dll"), icmp_("icmp.dll") {}

const IcmpEchoService::EchoFunctions* IcmpEchoService::Echo() {
    if (!resolved_) {
        resolved_ = true;
        for (SystemLibrary* library : {&iphlpapi_, &icmp_}) {
            EchoFunctions echo{};
            if (library->FindAll(echo.create, "IcmpCreateFile", echo.send, "IcmpSendEcho",
                                 echo.close, "IcmpCloseHandle")) {
                echo_ = echo;
                break;
            }
        }
    }
    return echo_ ? &*echo_ : nullptr;
}

IcmpEchoService::~IcmpEchoService() {
    if (echo_ && handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr) {
        echo_->close(handle_);
    }
}

ping::EchoHandle IcmpEchoService::Open() {
    const EchoFunctions* echo = Echo();
    if ((handle_ == INVALID_HANDLE_VALUE || handle_ == nullptr) && echo != nullptr) {
        handle_ = echo->create();
    }
    return reinterpret_cast<ping::EchoHandle>(handle_);
}

uint32_t IcmpEchoService::SendEcho(ping::EchoHandle handle, uint32_t address,
                                   std::string_view payload, int32_t timeout_ms) {
    return SendTimedEcho(handle, address, payload, timeout_ms).status;
}

ping::EchoResult IcmpEchoService::SendTimedEcho(ping::EchoHandle handle, uint32_t address,
                                                std::string_view payload, int32_t timeout_ms) {
    return Exchange(handle, address, payload, nullptr, timeout_ms);
}

uint32_t IcmpEchoService::SendUnfragmentedEcho(ping::EchoHandle handle, uint32_t address,
                                               std::string_view payload, int32_t timeout_ms) {
    IP_OPTION_INFORMATION options{};
    options.Ttl = kTimeToLive;
    options.Flags = IP_FLAG_DF;
    return Exchange(handle, address, payload, &options, timeout_ms).status;
}

ping::EchoResult IcmpEchoService::SendTtlEcho(ping::EchoHandle handle, uint32_t address,
                                              std::string_view payload, uint8_t ttl,
                                              int32_t timeout_ms) {
    IP_OPTION_INFORMATION options{};
    options.Ttl = ttl;
    return Exchange(handle, address, payload, &options, timeout_ms);
}

ping::EchoResult IcmpEchoService::Exchange(ping::EchoHandle handle, uint32_t address,
                                           std::string_view payload, IP_OPTION_INFORMATION* options,
                                           int32_t timeout_ms) {
    HANDLE icmp = reinterpret_cast<HANDLE>(handle);
    if (!echo_ || icmp == INVALID_HANDLE_VALUE || icmp == nullptr) {
        return {IP_GENERAL_FAILURE, 0};
    }
    std::string request(payload);
    // Zeroed, and aligned for the reply record at its start.
    std::vector<ICMP_ECHO_REPLY> buffer((ReplyBytes(request.size()) + sizeof(ICMP_ECHO_REPLY) - 1) /
                                        sizeof(ICMP_ECHO_REPLY));
    SetLastError(0);
    DWORD replies =
        echo_->send(icmp, address, request.data(), static_cast<WORD>(request.size()), options,
                    buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(ICMP_ECHO_REPLY)),
                    static_cast<DWORD>(timeout_ms < 0 ? 0 : timeout_ms));
    if (replies > 0) {
        const ICMP_ECHO_REPLY& reply = buffer.front();
        return {reply.Status, reply.RoundTripTime, reply.Address};
    }
    DWORD error = GetLastError();
    return {error != 0 ? error : IP_GENERAL_FAILURE, 0};
}

void IcmpEchoService::Close(ping::EchoHandle) {}

std::optional<uint32_t> IcmpEchoService::InterfaceMtu(uint32_t address) {
    return MtuOfRoute(iphlpapi_, address);
}

}  // namespace zv::win32
