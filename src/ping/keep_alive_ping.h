// The keep-alive ping of one program: its program-wide PingSettings and tick counter, and
// the commands both programs offer: load and save the settings, Ping Now with its sound,
// and the companion's one-minute TimerPing tick. The ping itself runs on a worker: a name
// server that never answers keeps the lookup for the resolver's whole timeout, which no
// window may wait out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/file_system.h"
#include "ping/echo_ports.h"
#include "ping/ping_settings.h"
#include "ui/ports.h"

namespace zv::ping {

// What one keep-alive ping came to.
struct KeepAliveOutcome {
    bool answered = false;
    // What Windows Sockets said when it could not be started or cleaned up; empty
    // otherwise. It is the caller's to tell, once, rather than a box at every interval.
    std::string problem;
};

// One keep-alive ping over the given services, on whatever thread runs it; nothing is
// shown from here. Blank hosts, unknown names and malformed addresses are not answered.
KeepAliveOutcome PingQuietly(SocketsService& sockets, EchoService& echo, const std::string& host,
                             int32_t timeout_ms);

class PingWorkerPort {
  public:
    virtual ~PingWorkerPort() = default;
    // Starts PingQuietly elsewhere; its outcome reaches KeepAlivePing::PingFinished later,
    // on the window's thread.
    virtual void StartPing(const std::string& host, int32_t timeout_ms) = 0;
};

struct PingPorts {
    PingWorkerPort& worker;
    SoundPort& sound;
    FileSystem& files;
    ui::MessageBoxPort& messages;
};

inline constexpr int32_t kPingNowTimeoutMs = 1000;

class KeepAlivePing {
  public:
    // The program folder has no trailing backslash; the title captions message boxes.
    KeepAlivePing(const PingPorts& ports, std::string program_dir, std::string program_title);

    PingSettings& Settings() { return settings_; }
    int16_t PingTickCount() const { return tick_count_; }

    // Called after every load, once the tick count is back at 0: the companion arms its
    // TimerPing here.
    void OnSettingsLoaded(std::function<void()> hook) { on_loaded_ = std::move(hook); }

    // Reads "Ping.cfg" (defaults when missing or damaged) and starts the tick count anew.
    void LoadPingSettings();
    // Writes "Ping.cfg"; when that fails the user is told which file, and the settings in
    // memory still apply until the next load.
    void SavePingSettings();

    // Starts a ping of the host with a 1000 ms timeout on the worker and returns at once.
    // While one is under way another is not started: the one under way answers for both.
    void PingNow();
    // The worker's outcome: the sound plays when chosen, whatever the ping gave.
    void PingFinished();
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
    PingSettings settings_;
    int16_t tick_count_ = 0;
    bool pinging_ = false;
    std::function<void()> on_loaded_;
};

}  // namespace zv::ping
