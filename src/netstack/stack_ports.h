// The services the modern TCP/IP stack is reached through, written from what the checks
// and changes expect of them so that tests (and a benchmark) can script them: WMI for the
// TCP templates and the offload settings, IP Helper for the MTU of each adapter, and
// netsh.exe for what WMI does not change. The Win32 layer implements them with bounded
// waits; none of them shows a message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sysconfig/registry_port.h"

namespace zv::netstack {

// How a call went. NotAvailable: this Windows (or Wine) has no such class, property or
// function, which is no error; Failed: it has one, but the call failed or did not answer in
// time; Refused: Windows would not take the value; TimedOut: a write that did not answer in
// time, and may still be made.
enum class PortStatus { Ok, NotAvailable, Failed, Refused, TimedOut };

// What a query of the stack found, row by row, and how it went.
template <typename Row>
struct PortRows {
    PortStatus status = PortStatus::NotAvailable;
    std::vector<Row> rows;
};

// The two WMI classes of ROOT\StandardCimv2 the stack is read and written through.
enum class WmiClass { TcpSetting, OffloadGlobalSetting };

// One instance: its SettingName ("Internet", "Datacenter", ...; "" for the single
// MSFT_NetOffloadGlobalSetting) and the asked properties it had, each as a number (the
// enumerations are numbers in WMI too).
struct WmiInstance {
    std::string setting_name;
    std::vector<std::pair<std::string, uint32_t>> properties;

    std::optional<uint32_t> Property(const std::string& name) const {
        for (const auto& property : properties) {
            if (property.first == name) {
                return property.second;
            }
        }
        return std::nullopt;
    }
};

using WmiAnswer = PortRows<WmiInstance>;

class WmiPort {
  public:
    virtual ~WmiPort() = default;
    // Every instance of the class with the named properties ("SELECT ... FROM ...").
    virtual WmiAnswer Query(WmiClass wmi_class, const std::vector<std::string>& properties) = 0;
    // Sets one property of one instance and saves it (PutInstance).
    virtual PortStatus Write(WmiClass wmi_class, const std::string& setting_name,
                             const std::string& property, uint32_t value) = 0;
};

enum class IpFamily { V4, V6 };

// One row of GetIpInterfaceTable, with what GetIfEntry2 adds about the adapter.
struct IpInterface {
    uint64_t luid = 0;
    uint32_t index = 0;  // what netsh names it by; 0 when Windows did not tell
    IpFamily family = IpFamily::V4;
    uint32_t mtu = 0;       // NlMtu, the IP layer's
    uint32_t link_mtu = 0;  // the adapter's own; 0 when Windows does not tell
    std::string name;       // its alias ("Ethernet"), in the ANSI code page, for labels only
    std::string guid;       // "{...}", the name of its Tcpip\Parameters\Interfaces key
    bool loopback = false;  // the loopback pseudo-interface, whose MTU is not a link's
};

using IpInterfaceList = PortRows<IpInterface>;

// What the persistent store (the one netsh's store=persistent writes, applied at every
// start) holds as an interface's NlMtu: a value, or none when the MTU comes from the adapter,
// DHCP or a VPN. `status` NotAvailable: this Windows gives no way to read it.
struct StoredMtu {
    PortStatus status = PortStatus::NotAvailable;
    std::optional<uint32_t> mtu;
};

class IpInterfacePort {
  public:
    virtual ~IpInterfacePort() = default;
    // GetIpInterfaceTable for both families (NotAvailable before Vista).
    virtual IpInterfaceList Interfaces() = 0;
    // SetIpInterfaceEntry with the new NlMtu, now only (NotAvailable where Windows or Wine
    // lacks the function).
    virtual PortStatus SetMtu(const IpInterface& target, uint32_t mtu) = 0;
    // The persistent store's NlMtu of the interface, and its removal (the interface then
    // starts with the MTU it is given). Not available unless a port says otherwise.
    virtual StoredMtu PersistentMtu(const IpInterface&) { return {}; }
    virtual PortStatus RemovePersistentMtu(const IpInterface&) { return PortStatus::NotAvailable; }
    // GetBestInterface: the index of the interface Windows routes the IPv4 address (network
    // byte order) through.
    virtual std::optional<uint32_t> BestInterface(uint32_t address) = 0;
};

// A run of System32\netsh.exe. `started` false: it could not be started (or an argument
// was refused); else its exit code, 0 being success. Its output is never read: Windows
// translates it.
struct NetshRun {
    bool started = false;
    uint32_t exit_code = 0;
    bool timed_out = false;  // it ran past the bounded wait and was ended
};

class NetshPort {
  public:
    virtual ~NetshPort() = default;
    // The arguments come from the fixed table of stack_netsh.h, words and numbers only; the
    // implementation refuses any other character, and waits a bounded time.
    virtual NetshRun Run(const std::vector<std::string>& arguments) = 0;
};

// Everything a read, check or change of the stack goes through.
struct StackPorts {
    WmiPort& wmi;
    IpInterfacePort& interfaces;
    NetshPort& netsh;
    RegistryPort& registry;
};

}  // namespace zv::netstack
