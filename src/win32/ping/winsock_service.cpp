#include "win32/ping/winsock_service.h"

#include <cstring>

namespace zv::win32 {

WinsockService::WinsockService()
    : library_("wsock32.dll"),
      startup_(library_.Function<StartupFn>("WSAStartup")),
      cleanup_(library_.Function<CleanupFn>("WSACleanup")),
      gethostbyname_(library_.Function<GetHostByNameFn>("gethostbyname")) {}

ping::SocketsStartup WinsockService::Startup(uint16_t requested_version) {
    if (startup_ == nullptr || cleanup_ == nullptr || gethostbyname_ == nullptr) {
        return ping::SocketsStartup{WSASYSNOTREADY, 0, 0};
    }
    WSADATA data;
    std::memset(&data, 0, sizeof data);
    int result = startup_(requested_version, &data);
    return ping::SocketsStartup{result, data.wVersion, data.iMaxSockets};
}

int WinsockService::Cleanup() {
    return cleanup_ != nullptr ? cleanup_() : SOCKET_ERROR;
}

std::optional<ping::HostEntry> WinsockService::GetHostByName(const std::string& name) {
    const hostent* shared = gethostbyname_(name.c_str());
    if (shared == nullptr) {
        return std::nullopt;
    }
    // The resolver's storage is reused by the next call: copy everything out now.
    hostent entry;
    std::memcpy(&entry, shared, sizeof entry);
    ping::HostEntry copy;
    copy.address_length = entry.h_length;
    if (entry.h_length <= 0 || entry.h_addr_list == nullptr) {
        return copy;
    }
    for (char* const* next = entry.h_addr_list;; ++next) {
        char* address;
        std::memcpy(&address, next, sizeof address);
        if (address == nullptr) {
            break;
        }
        copy.addresses.emplace_back(address, address + entry.h_length);
    }
    return copy;
}

}  // namespace zv::win32
