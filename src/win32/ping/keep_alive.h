// The keep-alive ping of one program on Windows, assembled: the worker its pings run on,
// the sound service, the program-wide PingSettings with Ping Now and the TimerPing tick,
// and the ping dialog. Each program holds one for its whole run: the main program shows the
// dialog modal, the companion modeless.
#pragma once

#include <windows.h>

#include <string>

#include "common/file_system.h"
#include "ping/keep_alive_ping.h"
#include "launch/launcher_port.h"
#include "ui/ports.h"
#include "win32/ping/ping_dialog.h"
#include "win32/ping/ping_worker.h"
#include "win32/ping/wave_sound.h"

namespace zv::win32 {

struct KeepAliveServices {
    FileSystem& files;
    ui::MessageBoxPort& messages;
    launch::LauncherPort& launcher;
};

class KeepAlive {
  public:
    // The program folder has no trailing backslash; the title captions message boxes.
    KeepAlive(const KeepAliveServices& services, const std::string& program_dir,
              const std::string& program_title, PingDialogMode dialog_mode);
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

    // PingSettings, LoadPingSettings, PingNow, TimerTick.
    ping::KeepAlivePing& Ping() { return ping_; }
    // Where the outcomes of the pings come from, on kPingDoneMessage to the window set here.
    PingWorker& Worker() { return worker_; }

    // Shows PingDialogView over the owner window (see PingDialogHost).
    void OpenPingDialog(HWND owner) { dialog_.OpenPingDialog(owner); }
    HWND DialogWindow() const { return dialog_.DialogWindow(); }

  private:
    PingWorker worker_;
    WaveSound sound_;
    ping::KeepAlivePing ping_;
    PingDialogHost dialog_;
};

}  // namespace zv::win32
