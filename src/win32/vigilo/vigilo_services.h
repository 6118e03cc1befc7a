// The companion's services on Windows: the keep-alive ping of the ping module (Winsock,
// ICMP echo, sound, the ping dialog) and the shell's launch commands, as the monitor's
// controller asks for them.
#pragma once

#include <string>

#include "monitor/monitor_ports.h"
#include "ping/keep_alive_ping.h"
#include "shell/launchers.h"

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

class ShellLaunchService : public monitor::LaunchService {
  public:
    explicit ShellLaunchService(shell::Launchers& launchers) : launchers_(launchers) {}

    void OpenHelpPage() override { launchers_.OpenHelpPage(); }
    void OpenWebSite() override { launchers_.OpenWebSite(); }
    void OpenFeedbackPage() override { launchers_.OpenFeedbackPage(); }
    unsigned long StartMainProgram() override { return launchers_.StartMainProgram(); }
    std::string MainProgramPath() const override { return launchers_.MainProgramPath(); }

  private:
    shell::Launchers& launchers_;
};

}  // namespace zv::win32
