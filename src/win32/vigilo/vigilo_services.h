// The companion's services on Win32: the keep-alive ping of the ping module over Winsock
// and ICMP, and the launch commands.
#pragma once

#include <string>

#include "monitor/monitor_ports.h"
#include "ping/keep_alive_ping.h"

namespace zv::win32 {

class KeepAlivePingService : public monitor::PingService {
  public:
    explicit KeepAlivePingService(ping::KeepAlivePing& ping) : ping_(ping) {}

    bool PingOnce(const std::string& host, int timeout_ms) override {
        return ping_.Engine().PingOnce(host, timeout_ms);
    }
    void LoadPingSettings() override { ping_.LoadPingSettings(); }
    void OnSettingsLoaded(std::function<void()> hook) override {
        ping_.OnSettingsLoaded(std::move(hook));
    }
    void PingNow() override { ping_.PingNow(); }
    void TimerTick() override { ping_.TimerTick(); }
    void RestartTicks() override { ping_.RestartTicks(); }

  private:
    ping::KeepAlivePing& ping_;
};

class Win32LaunchService : public monitor::LaunchService {
  public:
    explicit Win32LaunchService(std::string program_dir) : program_dir_(std::move(program_dir)) {}

    void OpenHelpPage() override;
    void OpenWebSite() override;
    void OpenFeedbackPage() override;
    unsigned long StartMainProgram() override;
    std::string MainProgramPath() const override { return program_dir_ + "\\Zorvane.exe"; }

  private:
    std::string program_dir_;
};

}  // namespace zv::win32
