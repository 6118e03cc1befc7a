// The keep-alive ping of one program: its program-wide PingSettings and tick counter, and
// the commands both programs offer: load and save the settings, Ping Now with its sound,
// and the companion's one-minute TimerPing tick.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/file_system.h"
#include "ping/echo_ports.h"
#include "ping/mdl_ping.h"
#include "ping/ping_settings.h"
#include "ui/ports.h"

namespace zv::ping {

struct PingPorts {
    SocketsService& sockets;
    EchoService& echo;
    SoundPort& sound;
    FileSystem& files;
    ui::MessageBoxPort& messages;
    ui::EventPump& pump;
};

inline constexpr int32_t kPingNowTimeoutMs = 1000;

class KeepAlivePing {
  public:
    // The program folder has no trailing backslash; the title captions message boxes.
    KeepAlivePing(const PingPorts& ports, std::string program_dir, std::string program_title);

    PingSettings& Settings() { return settings_; }
    mdlPing& Engine() { return engine_; }
    int16_t PingTickCount() const { return tick_count_; }

    // Called after every load, once the tick count is back at 0: the companion arms its
    // TimerPing here.
    void OnSettingsLoaded(std::function<void()> hook) { on_loaded_ = std::move(hook); }

    // Reads "Ping.cfg" (defaults when missing or damaged) and starts the tick count anew.
    void LoadPingSettings();
    // Writes "Ping.cfg"; when that fails the user is told which file, and the settings in
    // memory still apply until the next load.
    void SavePingSettings();

    // Pings the host once with a 1000 ms timeout, letting pending window messages run
    // before and after; then plays the sound when chosen, whatever the ping's result.
    void PingNow();
    // Plays "Ping.wav" from the program folder when it is there.
    void PlayPingSound();

    // One TimerPing tick (every minute while enabled): after as many ticks as the interval
    // has minutes, Ping Now runs and the count starts again.
    void TimerTick();
    // The count starts again, as when the companion's timer is enabled anew.
    void RestartTicks() { tick_count_ = 0; }

  private:
    PingPorts ports_;
    std::string program_dir_;
    std::string program_title_;
    mdlPing engine_;
    PingSettings settings_;
    int16_t tick_count_ = 0;
    std::function<void()> on_loaded_;
};

}  // namespace zv::ping
