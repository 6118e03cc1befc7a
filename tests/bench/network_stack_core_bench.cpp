// The Network Stack window with 20 adapters: the time from the call to its first rows shown,
// and to every row read, against the bare queries of the same ports in the same run. Wine
// has no WMI classes of the modern stack, so WMI is a stand-in that answers each query after
// kWmiMs (a warm query on Windows 10 takes tens to hundreds of milliseconds); the adapters
// are a stand-in IP Helper's, and the registry is the real one.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_util.h"
#include "main_window/stack_source.h"
#include "win32/platform/win32_file_system.h"
#include "win32/platform/win32_folders.h"
#include "win32/platform/win32_registry.h"
#include "win32/zorvane/zorvane_ids.h"
#include "win32/zorvane/network_stack_window.h"

namespace {

namespace id = zv::win32::frm_network_stack;
using namespace zv::netstack;

constexpr DWORD kWmiMs = 150;
constexpr int kAdapters = 20;

class SlowWmi : public WmiPort {
  public:
    WmiAnswer Query(WmiClass wmi_class, const std::vector<std::string>& properties) override {
        Sleep(kWmiMs);
        WmiAnswer answer{PortStatus::Ok, {}};
        const std::vector<std::string> names =
            wmi_class == WmiClass::TcpSetting
                ? std::vector<std::string>{"Internet", "Datacenter", "Compat", "InternetCustom",
                                           "DatacenterCustom"}
                : std::vector<std::string>{""};
        for (const std::string& name : names) {
            WmiInstance instance{name, {}};
            for (const std::string& property : properties) {
                instance.properties.emplace_back(property, 1);
            }
            answer.rows.push_back(instance);
        }
        return answer;
    }
    PortStatus Write(WmiClass, const std::string&, const std::string&, uint32_t) override {
        return PortStatus::Refused;
    }
};

class TwentyAdapters : public IpInterfacePort {
  public:
    IpInterfaceList Interfaces() override {
        IpInterfaceList list{PortStatus::Ok, {}};
        for (int i = 0; i < kAdapters; ++i) {
            for (IpFamily family : {IpFamily::V4, IpFamily::V6}) {
                IpInterface adapter;
                adapter.luid = 1000 + i;
                adapter.index = 10 + i;
                adapter.family = family;
                adapter.mtu = 1500;
                adapter.link_mtu = 1500;
                adapter.name = "Ethernet " + std::to_string(i + 1);
                adapter.guid = "{BENCH-" + std::to_string(i) + "}";
                list.rows.push_back(adapter);
            }
        }
        return list;
    }
    PortStatus SetMtu(const IpInterface&, uint32_t) override { return PortStatus::NotAvailable; }
    std::optional<uint32_t> BestInterface(uint32_t) override { return std::nullopt; }
};

class NoNetsh : public NetshPort {
  public:
    NetshRun Run(const std::vector<std::string>&) override { return {}; }
};

struct Times {
    double start = 0;
    double first_rows = 0;
    double all_read = 0;
};
Times times;

// Polls the open window: the first rows drawn, then the read's end, and closes it.
void CALLBACK Watch(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND window = FindWindowA(id::kClassName, nullptr);
    if (window == nullptr) {
        return;
    }
    HWND list = GetDlgItem(window, id::lvwStack);
    if (times.first_rows == 0 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0) {
        UpdateWindow(list);
        times.first_rows = zv::bench::NowMs() - times.start;
    }
    char findings[128] = {};
    GetWindowTextA(GetDlgItem(window, id::lblFindings), findings, sizeof(findings));
    if (std::string(findings) != "Reading the settings...") {
        times.all_read = zv::bench::NowMs() - times.start;
        KillTimer(nullptr, timer);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

}  // namespace

int main() {
    zv::win32::Win32Registry registry;
    zv::win32::Win32FileSystem files;
    zv::win32::Win32Folders folders;
    SlowWmi wmi;
    TwentyAdapters interfaces;
    NoNetsh netsh;
    StackPorts ports{wmi, interfaces, netsh, registry};
    StackMachine machine;
    machine.release = zv::WindowsRelease::Vista;
    machine.detail = {10, 0, 19045, false};
    machine.processors = 4;
    zv::main_window::StackSourcePorts source_ports{
        [&](const std::function<void(StackPorts&)>& use) { use(ports); }, files, folders};

    std::vector<double> bare, first_rows, all_read;
    for (int run = 0; run < 5; ++run) {
        double start = zv::bench::NowMs();
        wmi.Query(WmiClass::TcpSetting, {"AutoTuningLevelLocal"});
        wmi.Query(WmiClass::OffloadGlobalSetting, {"ReceiveSideScaling"});
        interfaces.Interfaces();
        bare.push_back(zv::bench::NowMs() - start);

        times = Times{zv::bench::NowMs(), 0, 0};
        SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Watch);
        zv::win32::NetworkStackWindow::ShowModal(
            nullptr,
            std::make_shared<zv::main_window::StackSource>(source_ports, machine, std::string()));
        first_rows.push_back(times.first_rows);
        all_read.push_back(times.all_read);
    }
    const double bare_ms = zv::bench::Median(bare);
    const double first_ms = zv::bench::Median(first_rows);
    const double all_ms = zv::bench::Median(all_read);
    std::printf("Network Stack window, %d adapters, WMI stand-in answering in %lu ms:\n", kAdapters,
                static_cast<unsigned long>(kWmiMs));
    std::printf("  bare queries (2 WMI, 1 IP Helper) %7.2f ms\n", bare_ms);
    std::printf("  window: first rows shown %7.2f ms (target < 300), every row %7.2f ms\n",
                first_ms, all_ms);
    std::printf("  ratio first rows / bare queries %.2f, every row / bare queries %.2f\n",
                first_ms / bare_ms, all_ms / bare_ms);
    return 0;
}
