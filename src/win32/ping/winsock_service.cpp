#include "win32/ping/winsock_service.h"

#include <cstring>

namespace zv::win32 {

WinsockService::WinsockService() : library_("wsock32.dll") {}

bool WinsockService::Ready() {
    if (!resolved_) {
        resolved_ = true;
        found_ = library_.FindAll(startup_, "WSAStartup", cleanup_, "WSACleanup", gethostbyname_,
                                  "gethostbyname");
        // Windows Sockets counts its start-ups and tears itself down at the last clean-up.
        // One start-up held for the service's life keeps each ping's own start-up and
        // clean-up (which still pair up as before) from loading and unloading the stack.
        WSADATA data;
        held_ = found_ && startup_(MAKEWORD(1, 1), &data) == 0;
    }
    return found_;
}

WinsockService::~WinsockService() {
    if (held_) {
        cleanup_();
    }
}

ping::SocketsStartup WinsockService::Startup(uint16_t requested_version) {
    if (!Ready()) {
        return ping::SocketsStartup{WSASYSNOTREADY, 0, 0};
    }
    WSADATA data;
    std::memset(&data, 0, sizeof data);
    int result = startup_(requested_version, &data);
    return ping::SocketsStartup{result, data.wVersion, data.iMaxSockets};
}

int WinsockService::Cleanup() {
    return Ready() ? cleanup_() : SOCKET_ERROR;
}

std::optional<ping::HostEntry> WinsockService::GetHostByName(const std::string& name) {
    if (!Ready()) {
        return std::nullopt;
    }
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
