// Windows Sockets 1.1 from "wsock32.dll", loaded from the system folder: start-up,
// clean-up and gethostbyname for the echo engine.
#pragma once

#include <winsock2.h>

#include "ping/echo_ports.h"
#include "win32/ping/system_library.h"

namespace zv::win32 {

class WinsockService : public ping::SocketsService {
  public:
    WinsockService();

    ping::SocketsStartup Startup(uint16_t requested_version) override;
    int Cleanup() override;
    std::optional<ping::HostEntry> GetHostByName(const std::string& name) override;

  private:
    using StartupFn = int(WSAAPI*)(WORD, LPWSADATA);
    using CleanupFn = int(WSAAPI*)();
    using GetHostByNameFn = hostent*(WSAAPI*)(const char*);

    SystemLibrary library_;
    StartupFn startup_;
    CleanupFn cleanup_;
    GetHostByNameFn gethostbyname_;
};

}  // namespace zv::win32
