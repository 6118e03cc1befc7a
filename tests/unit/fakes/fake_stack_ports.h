// The modern stack's ports in memory: WMI instances that writes change (unless Windows is
// told to keep its value), an interface table, and a netsh that records each command line
// and answers with a chosen exit code. A netsh command can be given an effect on WMI, as
// the supplemental template command has on the congestion provider.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/memory_registry.h"
#include "netstack/stack_netsh.h"
#include "netstack/stack_ports.h"

namespace zv::testing {

class FakeWmi : public netstack::WmiPort {
  public:
    std::map<netstack::WmiClass, netstack::WmiAnswer> classes;
    netstack::PortStatus write_status = netstack::PortStatus::Ok;
    bool windows_keeps_its_value = false;  // the write "succeeds", the read back differs
    std::vector<std::string> writes;       // "Internet.CongestionProvider=5"
    // A provider of Default (0) is stored as the provider it stands for on this release,
    // which is what MSFT_NetTCPSetting.CongestionProvider then reads: the provider in effect
    // (learn.microsoft.com, MSFT_NetTCPSetting class; Get-NetTCPSetting shows CUBIC, not
    // Default, after "Default" on Windows 10 and 11). 0 keeps Default.
    uint32_t default_provider = 0;

    netstack::WmiAnswer Query(netstack::WmiClass c, const std::vector<std::string>&) override {
        auto found = classes.find(c);
        return found == classes.end() ? netstack::WmiAnswer{} : found->second;
    }
    netstack::PortStatus Write(netstack::WmiClass c, const std::string& instance,
                               const std::string& property, uint32_t value) override {
        writes.push_back(instance + "." + property + "=" + std::to_string(value));
        if (write_status == netstack::PortStatus::Ok && !windows_keeps_its_value) {
            bool provider_default = property == "CongestionProvider" && value == 0;
            Set(c, instance, property, provider_default ? default_provider : value);
        }
        return write_status;
    }
    void Set(netstack::WmiClass c, const std::string& instance, const std::string& property,
             uint32_t value) {
        for (netstack::WmiInstance& i : classes[c].rows) {
            if (i.setting_name != instance) {
                continue;
            }
            for (auto& p : i.properties) {
                if (p.first == property) {
                    p.second = value;
                }
            }
        }
    }
};

// The persistent store is what Get-NetIPInterface -PolicyStore PersistentStore shows
// (learn.microsoft.com/powershell/module/nettcpip/get-netipinterface): an interface has an
// NlMtu there only once one was stored (netsh ... store=persistent); SetIpInterfaceEntry
// changes the active store only (learn.microsoft.com/windows/win32/api/netioapi/
// nf-netioapi-setipinterfaceentry).
class FakeInterfaces : public netstack::IpInterfacePort {
  public:
    netstack::IpInterfaceList list;
    netstack::PortStatus set_status = netstack::PortStatus::Ok;
    uint32_t best = 0;
    std::map<std::pair<uint64_t, netstack::IpFamily>, uint32_t> stored;  // by LUID and family

    netstack::StoredMtu PersistentMtu(const netstack::IpInterface& target) override {
        auto found = stored.find({target.luid, target.family});
        return {netstack::PortStatus::Ok,
                found == stored.end() ? std::nullopt : std::optional(found->second)};
    }
    netstack::PortStatus RemovePersistentMtu(const netstack::IpInterface& target) override {
        stored.erase({target.luid, target.family});
        return netstack::PortStatus::Ok;
    }
    // netsh interface ipv4|ipv6 set subinterface <alias, or interface=index> mtu=N
    // store=persistent.
    void Store(const std::vector<std::string>& a) {
        if (a.size() < 6 || a[0] != "interface" || a[3] != "subinterface") {
            return;
        }
        auto family = a[1] == "ipv6" ? netstack::IpFamily::V6 : netstack::IpFamily::V4;
        for (const auto& i : list.rows) {
            bool named = a[4] == "\"" + i.name + "\"" || a[4] == i.name ||
                         a[4] == "interface=" + std::to_string(i.index);
            for (const std::string& argument : a) {
                if (named && i.family == family && argument.rfind("mtu=", 0) == 0) {
                    stored[{i.luid, family}] =
                        static_cast<uint32_t>(std::stoul(argument.substr(4)));
                }
            }
        }
    }

    netstack::IpInterfaceList Interfaces() override { return list; }
    netstack::PortStatus SetMtu(const netstack::IpInterface& target, uint32_t mtu) override {
        for (auto& i : list.rows) {
            if (set_status == netstack::PortStatus::Ok && i.luid == target.luid &&
                i.family == target.family) {
                i.mtu = mtu;
            }
        }
        return set_status;
    }
    std::optional<uint32_t> BestInterface(uint32_t) override { return best; }
};

class FakeNetsh : public netstack::NetshPort {
  public:
    uint32_t exit_code = 0;
    bool timed_out = false;          // ended after the wait, having made its change
    std::vector<std::string> lines;  // as NetshCommandLine writes them
    std::function<void(const std::vector<std::string>&)> effect;
    std::function<void(const std::vector<std::string>&)> stores;  // the persistent MTU

    netstack::NetshRun Run(const std::vector<std::string>& arguments) override {
        lines.push_back(netstack::NetshCommandLine(arguments));
        if (exit_code == 0 && effect) {
            effect(arguments);
        }
        if (exit_code == 0 && stores) {
            stores(arguments);
        }
        return {true, exit_code, timed_out};
    }
};

struct FakeStack {
    FakeWmi wmi;
    FakeInterfaces interfaces;
    FakeNetsh netsh;
    MemoryRegistry registry;
    netstack::StackPorts ports{wmi, interfaces, netsh, registry};

    FakeStack() {
        netsh.stores = [this](const std::vector<std::string>& a) { interfaces.Store(a); };
    }
};

}  // namespace zv::testing
