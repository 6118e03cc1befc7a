// What the companion's window controller asks of the rest of the system: the keep-alive
// ping it shares with the main program, the launch commands, and its own real window.
// The real program implements them over the ping module, the shell launchers and Win32;
// tests implement them in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zv::monitor {

class PingService {
  public:
    virtual ~PingService() = default;
    // One echo to the host; true when a reply came back within the timeout. Every failure
    // (unknown host, no network, time-out) is false.
    virtual bool PingOnce(const std::string& host, int timeout_ms) = 0;
    // Reads "Ping.cfg" or takes the defaults; runs the hook afterwards. The ping dialog
    // loads the settings too, so the hook also runs when the dialog opens.
    virtual void LoadPingSettings() = 0;
    virtual void OnSettingsLoaded(std::function<void()> hook) = 0;
    // Ping Now: the configured host, then the sound when chosen.
    virtual void PingNow() = 0;
    // One minute of the keep-alive timer has passed; RestartTicks starts the count anew.
    virtual void TimerTick() = 0;
    virtual void RestartTicks() = 0;
};

class LaunchService {
  public:
    virtual ~LaunchService() = default;
    virtual void OpenHelpPage() = 0;
    virtual void OpenWebSite() = 0;
    virtual void OpenFeedbackPage() = 0;
    // Starts "Zorvane.exe" from the program folder, normal with focus; 0 or the Windows
    // error of the failed start.
    virtual unsigned long StartMainProgram() = 0;
    virtual std::string MainProgramPath() const = 0;
};

class MonitorWindowPort {
  public:
    virtual ~MonitorWindowPort() = default;
    // The window handle the tray icon record carries.
    virtual std::uintptr_t Handle() const = 0;
    virtual void BringToForeground() = 0;
    // Pops up the tray menu at the mouse position and returns when it closes.
    virtual void PopupMenu() = 0;
    // Shows the ping configuration dialog modeless (again, if it is already open).
    virtual void ShowPingDialog() = 0;
    // Closes the window; its unload query runs first.
    virtual void Unload() = 0;
};

}  // namespace zv::monitor
