// The companion's hidden window frmVigilo as a controller: it owns the tray icon, probes
// whether the internet is reachable every 30 seconds and records how long each probe took,
// animates the icon while it is, tells the link's state in the tip and in a notice when it
// changes, and serves the tray menu. Everything runs on timer ticks and menu clicks of the
// one window, except the probe, the keep-alive ping and the log's writes: they run
// elsewhere, so that a silent link, a silent name server or a slow disk never holds up the
// menu or the history window, and the outcomes come back as calls. A probe that never
// comes back is given up after two periods.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "monitor/extra_probe_budget.h"
#include "monitor/link_monitor.h"
#include "monitor/monitor_ports.h"
#include "monitor/outage_report_writer.h"
#include "monitor/reachability_probe.h"
#include "monitor/vigilo_menu.h"
#include "ping/keep_alive_ping.h"
#include "launch/launchers.h"
#include "monitor/tray_icon.h"
#include "ui/captioned.h"
#include "ui/menu.h"
#include "ui/ports.h"
#include "ui/timer.h"

namespace zv::monitor {

inline constexpr int kProbeTimeoutMs = 10000;
inline constexpr int kProbeIntervalMs = 30000;
inline constexpr int kAnimationIntervalMs = 200;
inline constexpr int kPingTimerIntervalMs = 60000;
// After the computer wakes, the network adapter needs a moment to come back.
inline constexpr int kResumeProbeDelayMs = 15000;
// A first loss is confirmed by a probe this long after the first ended, and no sooner than
// the echo timeout after the first went out: a Wi-Fi roam or an address renewal of a few
// seconds, which fails every probe at once, does not confirm itself.
inline constexpr int kConfirmDelayMs = 5000;

// Images of imgVigilo, numbered from 1: four animation frames, then "not connected".
inline constexpr int kAnimationFrames = 4;
inline constexpr int kNotConnectedImage = 5;

inline constexpr char kConnected[] = "Connected";
inline constexpr char kNotConnected[] = "Not Connected";
inline constexpr char kStateUnknown[] = "Unknown";

// A probe not back after two periods hangs (a resolver or driver stuck in the worker):
// checked at each period's tick, with room for a timer that fires a little early.
inline constexpr int64_t kProbeOverdueMs = 2 * kProbeIntervalMs - kProbeIntervalMs / 10;

struct MonitorPorts {
    ping::KeepAlivePing& ping;
    launch::Launchers& launchers;
    monitor::TrayPort& tray;
    ui::MessageBoxPort& messages;
    MonitorWindowPort& window;
    ProbePort& probe;
    LinkMonitorPorts link;
};

class VigiloView {
  public:
    // Stops the program (ProgramFault) when a menu item has no handler.
    explicit VigiloView(const MonitorPorts& ports);
    VigiloView(const VigiloView&) = delete;
    VigiloView& operator=(const VigiloView&) = delete;

    // The window's load: hide, settings (arming TimerPing), icon, first probe.
    void Load();
    // The unload query: the icon goes; the close is never cancelled.
    void QueryUnload();

    // Starts a probe unless one is still under way; after an extra one, it goes when that
    // one is back.
    void ProbeReachability();
    // While the link is busy: an extra probe, when none is under way and the budget allows.
    void ProbeBusyLink();
    // The outcome of the probe under way: recorded, shown in the icon, the tip and a
    // notice; a first loss after answers is checked by a second probe a little later.
    void ProbeFinished(const ProbeOutcome& outcome);
    // The computer goes to sleep: the probe under way, which would come back with the
    // sleep's silence, counts for nothing, and the timers stop until the wake.
    void Suspended();
    // The computer woke from sleep: the next probe waits for the network to come back. A
    // probe still under way (the sleep came without notice) counts for nothing.
    void Resumed();
    // The lasting record read back at start: its probes go before this run's in the history,
    // the tip and the notices, and a record kept aside is told once.
    void Restored(const std::vector<Probe>& probes, const std::string& problem,
                  const std::vector<SpanSample>& span = {});
    // The outage report's outcome: a notice when it was done, a message otherwise.
    void ReportWritten(const ReportOutcome& outcome);
    // A report asked for while the last one is still being written: it comes when done.
    void ReportStillBeingMade();
    // The outcome of a keep-alive ping: its sound, and a Windows Sockets failure told once.
    void KeepAlivePingFinished(const ping::KeepAliveOutcome& outcome);
    void AnimateTrayIcon();
    // A mouse code the shell reported for the icon. A left click starts the main program;
    // a double click, which the shell reports as click, double click and release, starts
    // it once: each start of a program that asks for administrator rights is a prompt.
    // Enter or Space on the icon starts it too; the context-menu key opens the tray menu, and
    // when that menu is cancelled the focus goes back to the notification area.
    void HandleTrayMouse(int code);
    void ToggleDisable();
    // "Use System Colours": the option kept with the others, its check mark and the
    // painted windows follow.
    void ToggleSystemColours();
    // The icon shown again with the picture it has, which the window's scheme may have
    // drawn anew.
    void RedrawTrayIcon();
    // The shell was restarted (Explorer crashed, say) and forgot its icons: the icon comes
    // back with the picture it had.
    void ShellRestarted();
    // After a settings load: TimerPing counts a new minute, unless the user disabled it.
    void ArmTimerPing();
    // The Disable item's caption is the one record of whether the keep-alive ping runs.
    bool PingingEnabled() const;

    const std::string& LinkState() const { return link_state_; }
    int AnimationFrame() const { return animation_frame_; }
    const monitor::TrayIcon& TrayIcon() const { return tray_icon_; }
    // The probes' record, which the history window shows.
    LinkMonitor& Monitor() { return monitor_; }

    ui::Window frmVigilo{"Vigilo"};
    ui::Timer TimerVigilo{kProbeIntervalMs, true};
    ui::Timer TimerIcon{kAnimationIntervalMs, false};
    ui::Timer TimerPing{0, true};
    // Runs while the newest probe found the link busy and connected.
    ui::Timer TimerBusy{kBusyProbeIntervalMs, false};

    // The tray popup (mnupopupmenu).
    ui::Menu popup{vigilo_menu::Popup()};

  private:
    // True when an item of the menu was chosen.
    bool ShowTrayMenu();
    void ConnectHandlers();
    void StartMainProgram();
    void StartProbe(bool extra = false);
    void ExtraProbeFinished(const Moment& sent, const ProbeOutcome& outcome);
    // The extra probes go on while the newest probe found the link busy, up and confirmed.
    void ProbeWhileBusy();
    // The next probe in `delay_ms`, then every period.
    void ProbeAfter(int delay_ms);
    // The tip and, when the link changed, the notice for the probe just recorded.
    void ReportProbe();
    // A Windows Sockets failure is told once, not at every probe or ping that meets it.
    void ReportProblem(const std::string& problem, std::string& told);
    // The probe under way is overdue: the state is unknown from then, and a probe on a
    // fresh worker takes over.
    void GiveUpProbe();
    std::string Tip();

    MonitorPorts ports_;
    monitor::TrayIcon tray_icon_;
    LinkMonitor monitor_;
    std::string link_state_;
    int animation_frame_ = 0;
    std::optional<Moment> probe_sent_;  // while a probe is under way
    // The probe under way went out before a sleep: its outcome is dropped when it comes.
    bool probe_void_ = false;
    // A probe came due while a void or an extra one was still out: it goes when that one is
    // back.
    bool probe_due_ = false;
    bool extra_under_way_ = false;  // the probe under way is an extra one
    ExtraProbeBudget budget_;
    // When the probe that never came back went out; nothing once one has.
    std::optional<Moment> probe_silent_since_;
    std::string told_problem_;
    std::string told_ping_problem_;
    bool reporting_start_failure_ = false;
    bool double_click_release_due_ = false;
    // The context-menu message to come follows a right click, not the keyboard.
    bool right_click_menu_due_ = false;
};

}  // namespace zv::monitor
