#include "ping/keep_alive_ping.h"

#include "ping/echo_engine.h"
#include "ui/kept_message.h"

namespace zv::ping {

KeepAliveOutcome PingQuietly(SocketsService& sockets, EchoService& echo, const std::string& host,
                             int32_t timeout_ms) {
    ui::KeptMessage kept;
    EchoEngine engine(sockets, echo, kept, "");
    KeepAliveOutcome outcome;
    outcome.answered = engine.PingOnce(host, timeout_ms);
    outcome.problem = kept.text;
    return outcome;
}

KeepAlivePing::KeepAlivePing(const PingPorts& ports, std::string program_dir,
                             std::string program_title)
    : ports_(ports),
      program_dir_(std::move(program_dir)),
      program_title_(std::move(program_title)) {}

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
    if (pinging_) {
        return;
    }
    pinging_ = true;
    ports_.worker.StartPing(settings_.PingHost, kPingNowTimeoutMs);
}

void KeepAlivePing::PingFinished() {
    pinging_ = false;
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
        RestartTicks();
        // A ping still under way a whole interval later hangs in the resolver: it is
        // given up, and this one goes out.
        pinging_ = false;
        PingNow();
    }
}

}  // namespace zv::ping
