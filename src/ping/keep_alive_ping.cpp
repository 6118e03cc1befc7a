#include "ping/keep_alive_ping.h"

namespace zv::ping {

KeepAlivePing::KeepAlivePing(const PingPorts& ports, std::string program_dir,
                             std::string program_title)
    : ports_(ports),
      program_dir_(std::move(program_dir)),
      program_title_(std::move(program_title)),
      engine_(ports.sockets, ports.echo, ports.messages, program_title_) {}

void KeepAlivePing::LoadPingSettings() {
    LoadPingCfg(ports_.files, program_dir_, settings_);
    RestartTicks();
    if (on_loaded_) {
        on_loaded_();
    }
}

void KeepAlivePing::SavePingSettings() {
    if (SavePingCfg(ports_.files, program_dir_, settings_)) {
        return;
    }
    ui::Message message;
    message.text = "The ping settings could not be saved in " + PingCfgPath(program_dir_) +
                   ".\r\nThey are used until the program ends or the ping configuration is "
                   "opened again.";
    message.caption = program_title_;
    message.icon = ui::MessageIcon::Exclamation;
    ports_.messages.Show(message);
}

void KeepAlivePing::PingNow() {
    ports_.pump.DoEvents();
    ports_.pump.DoEvents();
    engine_.PingOnce(settings_.PingHost, kPingNowTimeoutMs);
    ports_.pump.DoEvents();
    if (settings_.PingSound) {
        PlayPingSound();
    }
}

void KeepAlivePing::PlayPingSound() {
    std::string path = program_dir_ + "\\Ping.wav";
    if (ports_.files.FileExists(path)) {
        ports_.sound.PlayWaveFile(path);
    }
}

void KeepAlivePing::TimerTick() {
    ++tick_count_;
    int minutes = PingIntervalMinutes(settings_.PingInterval)
                      .value_or(*PingIntervalMinutes(kDefaultPingInterval));
    if (tick_count_ >= minutes) {
        // Before the ping: it lets window messages run, and a tick among them counts anew.
        RestartTicks();
        PingNow();
    }
}

}  // namespace zv::ping
