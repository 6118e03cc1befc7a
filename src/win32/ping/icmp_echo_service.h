// The ICMP echo service (IcmpCreateFile, IcmpSendEcho, IcmpCloseHandle) from
// "iphlpapi.dll", or "icmp.dll" on releases that predate it, loaded from the system folder;
// and the MTU of the interface that routes to an address, from "iphlpapi.dll".
#pragma once

#include <winsock2.h>

#include <iphlpapi.h>
#include <icmpapi.h>

#include <optional>

#include "ping/echo_ports.h"
#include "win32/platform/system_library.h"

namespace zv::win32 {

class IcmpEchoService : public ping::EchoService {
  public:
    IcmpEchoService();
    ~IcmpEchoService() override;

    // Opening an echo handle costs about a third of a loopback ping, so the service opens
    // one on first use and keeps it for its life: Open hands it out, Close keeps it.
    ping::EchoHandle Open() override;
    // Never 0 unless an echo reply came back: a request that could not be sent, or a call
    // that reports no reply, gives the platform's error or a general failure.
    uint32_t SendEcho(ping::EchoHandle handle, uint32_t address, std::string_view payload,
                      int32_t timeout_ms) override;
    ping::EchoResult SendTimedEcho(ping::EchoHandle handle, uint32_t address,
                                   std::string_view payload, int32_t timeout_ms) override;
    uint32_t SendUnfragmentedEcho(ping::EchoHandle handle, uint32_t address,
                                  std::string_view payload, int32_t timeout_ms) override;
    ping::EchoResult SendTtlEcho(ping::EchoHandle handle, uint32_t address,
                                 std::string_view payload, uint8_t ttl,
                                 int32_t timeout_ms) override;
    void Close(ping::EchoHandle handle) override;
    std::optional<uint32_t> InterfaceMtu(uint32_t address) override;

  protected:
    // The companion's probe finds its route functions here too.
    SystemLibrary iphlpapi_;

  private:
    struct EchoFunctions {
        HANDLE(WINAPI* create)();
        DWORD(WINAPI* send)
        (HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID, DWORD, DWORD);
        BOOL(WINAPI* close)(HANDLE);
    };

    // Found on first use, all three from one library: iphlpapi.dll, or icmp.dll on releases
    // that predate them there. Null when neither has them all.
    const EchoFunctions* Echo();
    // One request with the given options (null: the platform's defaults).
    ping::EchoResult Exchange(ping::EchoHandle handle, uint32_t address, std::string_view payload,
                              IP_OPTION_INFORMATION* options, int32_t timeout_ms);

    SystemLibrary icmp_;
    bool resolved_ = false;
    std::optional<EchoFunctions> echo_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace zv::win32
