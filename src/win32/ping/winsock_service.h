// Windows Sockets 1.1 from "wsock32.dll", loaded from the system folder: start-up,
// clean-up and gethostbyname for the echo engine.
#pragma once

#include <winsock2.h>

#include "ping/echo_ports.h"
#include "win32/platform/system_library.h"

namespace zv::win32 {

class WinsockService : public ping::SocketsService {
  public:
    WinsockService();
    ~WinsockService() override;

    ping::SocketsStartup Startup(uint16_t requested_version) override;
    int Cleanup() override;
    std::optional<ping::HostEntry> GetHostByName(const std::string& name) override;

  protected:
    // The companion's probe finds its TCP functions here too.
    SystemLibrary library_;

  private:
    // Resolves the functions, and takes the held start-up, on first use.
    bool Ready();

    using StartupFn = int(WSAAPI*)(WORD, LPWSADATA);
    using CleanupFn = int(WSAAPI*)();
    using GetHostByNameFn = hostent*(WSAAPI*)(const char*);

    bool resolved_ = false;
    bool found_ = false;
    StartupFn startup_ = nullptr;
    CleanupFn cleanup_ = nullptr;
    GetHostByNameFn gethostbyname_ = nullptr;
    bool held_ = false;
};

}  // namespace zv::win32
