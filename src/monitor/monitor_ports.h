// What the companion's window controller asks of its own real window. The keep-alive ping
// and the launch commands it takes as the main window does, over their own ports.
#pragma once

#include <cstdint>

namespace zv::monitor {

class MonitorWindowPort {
  public:
    virtual ~MonitorWindowPort() = default;
    // The window handle the tray icon record carries.
    virtual std::uintptr_t Handle() const = 0;
    virtual void BringToForeground() = 0;
    // Pops up the tray menu at the mouse position (or, opened from the keyboard, at the
    // icon) and returns when it closes: true when an item was chosen.
    virtual bool PopupMenu() = 0;
    // Shows the ping configuration dialog modeless (again, if it is already open).
    virtual void ShowPingDialog() = 0;
    // Shows the connection history window, or brings it to the front when open.
    virtual void ShowHistoryWindow() = 0;
    // Shows the responsiveness test's window, or brings it to the front when open; the
    // test itself starts only from there.
    virtual void ShowResponsivenessWindow() = 0;
    // Asks for the period and where to save, then writes the outage report elsewhere and
    // opens it; the outcome is told when it is there.
    virtual void MakeOutageReport() = 0;
    // The system colours option changed: the painted windows take the colours anew.
    virtual void ColoursChanged() = 0;
    // Closes the window; its unload query runs first.
    virtual void Unload() = 0;
};

}  // namespace zv::monitor
