#include "monitor/vigilo_view.h"

#include <algorithm>
#include <utility>

#include "common/program_name.h"
#include "monitor/tip_texts.h"

namespace zv::monitor {

VigiloView::VigiloView(const MonitorPorts& ports)
    : ports_(ports), tray_icon_(ports.tray), monitor_(ports.link) {
    ConnectHandlers();
}

void VigiloView::ConnectHandlers() {
    TimerVigilo.on_tick = [this] { ProbeReachability(); };
    TimerIcon.on_tick = [this] { AnimateTrayIcon(); };
    TimerPing.on_tick = [this] { ports_.ping.TimerTick(); };
    TimerBusy.on_tick = [this] { ProbeBusyLink(); };
    ports_.ping.OnSettingsLoaded([this] { ArmTimerPing(); });

    using namespace vigilo_menu;
    popup.On(menu_zorvane, [this] { StartMainProgram(); });
    popup.On(menu_ping_configuration, [this] { ports_.window.ShowPingDialog(); });
    popup.On(menu_ping_now, [this] { ports_.ping.PingNow(); });
    popup.On(menu_history, [this] { ports_.window.ShowHistoryWindow(); });
    popup.On(menu_outage_report, [this] { ports_.window.MakeOutageReport(); });
    popup.On(menu_test_responsiveness, [this] { ports_.window.ShowResponsivenessWindow(); });
    popup.On(menu_web_site, [this] { ports_.launchers.OpenWebSite(); });
    popup.On(menu_email, [this] { ports_.launchers.OpenFeedbackPage(); });
    popup.On(menu_help, [this] { ports_.launchers.OpenHelpPage(); });
    popup.On(menu_disable, [this] { ToggleDisable(); });
    popup.On(menu_system_colours, [this] { ToggleSystemColours(); });
    popup.On(menu_exit, [this] { ports_.window.Unload(); });
    popup.RequireHandlers();
}

void VigiloView::Load() {
    frmVigilo.SetVisible(false);
    popup.SetChecked(vigilo_menu::menu_system_colours, monitor_.Options().system_colours);
    ports_.ping.LoadPingSettings();
    tray_icon_.Add(ports_.window.Handle(), kNotConnectedImage);
    if (!monitor_.RefusedHost().empty()) {
        tray_icon_.ShowBalloon("Vigilo", monitor_.RefusedHost(), monitor::BalloonIcon::Warning);
    }
    TimerIcon.SetEnabled(false);
    ProbeReachability();
}

void VigiloView::ToggleSystemColours() {
    bool& chosen = monitor_.Options().system_colours;
    chosen = !chosen;
    monitor_.SaveOptions();
    popup.SetChecked(vigilo_menu::menu_system_colours, chosen);
    ports_.window.ColoursChanged();
    RedrawTrayIcon();
}

void VigiloView::RedrawTrayIcon() {
    if (tray_icon_.record().hIcon != 0) {
        tray_icon_.Change(tray_icon_.record().hIcon);
    }
}

void VigiloView::QueryUnload() {
    tray_icon_.Remove();
}

void VigiloView::ShellRestarted() {
    tray_icon_.Add(ports_.window.Handle(), tray_icon_.record().hIcon);
    tray_icon_.SetTip(Tip());
}

// Every settings load arms the timer, the ping dialog's too; after Disable it must stay
// off, or the keep-alive pings (and their sound) come back while the menu offers "Enable".
void VigiloView::ArmTimerPing() {
    TimerPing.SetInterval(kPingTimerIntervalMs);
    TimerPing.SetEnabled(PingingEnabled());
}

void VigiloView::ProbeReachability() {
    // The wait after a wake is over: back to the usual period, counted from now.
    TimerVigilo.SetInterval(kProbeIntervalMs);
    if (probe_sent_ && monitor_.Now().tick_ms - probe_sent_->tick_ms >= kProbeOverdueMs) {
        GiveUpProbe();
    }
    if (!probe_sent_) {
        StartProbe();
    } else if (probe_void_ || extra_under_way_) {
        probe_due_ = true;
    }
}

void VigiloView::ProbeBusyLink() {
    TimerBusy.SetEnabled(false);
    int64_t now_ms = monitor_.Now().tick_ms;
    if (probe_sent_ || !budget_.Allows(now_ms)) {
        return;
    }
    budget_.Spend(now_ms);
    StartProbe(true);
}

// Restarted after each probe, so the next extra one goes a full interval after it. A host
// whose echoes go unanswered (reached by TCP alone) would only lose them.
void VigiloView::ProbeWhileBusy() {
    std::optional<Probe> latest = monitor_.History().Latest();
    TimerBusy.SetEnabled(false);
    TimerBusy.SetEnabled(monitor_.Busy() && link_state_ == kConnected && latest &&
                         !latest->echo_lost() && !monitor_.AwaitsConfirmation());
}

// The icon stops animating and the tip says since when nothing came back; the worker that
// hangs is left to itself, and its outcome, should it come, counts for nothing.
void VigiloView::GiveUpProbe() {
    if (!probe_silent_since_) {
        probe_silent_since_ = probe_sent_;
    }
    probe_sent_.reset();
    link_state_ = kStateUnknown;
    TimerIcon.SetEnabled(false);
    tray_icon_.SetTip(Tip());
}

std::string VigiloView::Tip() {
    if (probe_silent_since_) {
        return ProbeSilentTipText(probe_silent_since_->wall, monitor_.Now().wall);
    }
    return monitor_.TipText(tray_icon_.TipLimit());
}

void VigiloView::StartProbe(bool extra) {
    probe_sent_ = monitor_.Now();
    probe_void_ = false;
    probe_due_ = false;
    extra_under_way_ = extra;
    ports_.probe.StartProbe(monitor_.Host(), kProbeTimeoutMs, extra);
}

void VigiloView::ProbeAfter(int delay_ms) {
    TimerVigilo.SetEnabled(false);
    TimerVigilo.SetInterval(delay_ms);
    TimerVigilo.SetEnabled(true);
}

void VigiloView::ProbeFinished(const ProbeOutcome& outcome) {
    if (!probe_sent_) {
        return;
    }
    Moment sent = *probe_sent_;
    probe_sent_.reset();
    bool extra = std::exchange(extra_under_way_, false);
    if (probe_void_) {
        if (probe_due_) {
            StartProbe();
        }
        return;
    }
    probe_silent_since_.reset();
    if (extra) {
        ExtraProbeFinished(sent, outcome);
        return;
    }
    if (outcome.round_trip_ms) {
        link_state_ = kConnected;
        TimerIcon.SetEnabled(true);
    } else {
        tray_icon_.Change(kNotConnectedImage);
        link_state_ = kNotConnected;
        TimerIcon.SetEnabled(false);
    }
    monitor_.Record(sent, outcome);
    ReportProbe();
    ReportProblem(outcome.problem, told_problem_);
    if (monitor_.AwaitsConfirmation()) {
        int64_t since_sent = monitor_.Now().tick_ms - sent.tick_ms;
        ProbeAfter(
            static_cast<int>(std::max<int64_t>(kConfirmDelayMs, kProbeTimeoutMs - since_sent)));
    }
    ProbeWhileBusy();
}

// Recorded and in the tip; nothing else of the link changes with it.
void VigiloView::ExtraProbeFinished(const Moment& sent, const ProbeOutcome& outcome) {
    monitor_.RecordExtra(sent, outcome);
    tray_icon_.SetTip(Tip());
    if (probe_due_) {
        StartProbe();
    } else {
        ProbeWhileBusy();
    }
}

void VigiloView::Restored(const std::vector<Probe>& probes, const std::string& problem,
                          const std::vector<SpanSample>& span) {
    monitor_.Restore(probes, span);
    if (!problem.empty()) {
        tray_icon_.ShowBalloon("Vigilo", problem, monitor::BalloonIcon::Warning);
    }
    tray_icon_.SetTip(Tip());
}

void VigiloView::Suspended() {
    probe_void_ = probe_sent_.has_value();
    probe_due_ = false;
    TimerVigilo.SetEnabled(false);
    TimerBusy.SetEnabled(false);
    TimerIcon.SetEnabled(false);
    TimerPing.SetEnabled(false);
}

void VigiloView::Resumed() {
    probe_void_ = probe_sent_.has_value();
    if (probe_void_) {
        // The sleep is no time the probe hung: the bound for giving it up starts again now.
        probe_sent_ = monitor_.Now();
    }
    ProbeAfter(kResumeProbeDelayMs);
    TimerIcon.SetEnabled(link_state_ == kConnected);
    ArmTimerPing();
}

void VigiloView::ReportWritten(const ReportOutcome& outcome) {
    if (outcome.result == ReportResult::Done) {
        tray_icon_.ShowBalloon("Outage Report", outcome.text, monitor::BalloonIcon::Information);
        return;
    }
    ports_.messages.Show({outcome.text, "Outage Report", ui::MessageButtons::Ok,
                          outcome.result == ReportResult::Refused ? ui::MessageIcon::Information
                                                                  : ui::MessageIcon::Exclamation});
}

void VigiloView::ReportStillBeingMade() {
    tray_icon_.ShowBalloon("Outage Report",
                           "The outage report asked for before is still being made; it opens "
                           "when it is ready.",
                           monitor::BalloonIcon::Information);
}

void VigiloView::KeepAlivePingFinished(const ping::KeepAliveOutcome& outcome) {
    ports_.ping.PingFinished();
    ReportProblem(outcome.problem, told_ping_problem_);
}

void VigiloView::ReportProbe() {
    tray_icon_.SetTip(Tip());
    LinkNotice notice = monitor_.Notice();
    if (!notice.text.empty()) {
        tray_icon_.ShowBalloon(
            kProgramName, notice.text,
            notice.warning ? monitor::BalloonIcon::Warning : monitor::BalloonIcon::Information);
    }
}

void VigiloView::ReportProblem(const std::string& problem, std::string& told) {
    if (!problem.empty() && problem != told) {
        tray_icon_.ShowBalloon("Vigilo", problem, monitor::BalloonIcon::Warning);
    }
    told = problem;
}

void VigiloView::AnimateTrayIcon() {
    ++animation_frame_;
    tray_icon_.Change(animation_frame_);
    if (animation_frame_ == kAnimationFrames) {
        animation_frame_ = 0;
    }
}

void VigiloView::HandleTrayMouse(int code) {
    switch (code) {
        case monitor::kTrayLeftButtonUp:
            if (double_click_release_due_) {
                double_click_release_due_ = false;
            } else {
                StartMainProgram();
            }
            break;
        case monitor::kTrayLeftDoubleClick:
            double_click_release_due_ = true;
            break;
        case monitor::kTrayKeySelect:
            StartMainProgram();
            break;
        case monitor::kTrayRightButtonUp:
            right_click_menu_due_ = tray_icon_.ReportsKeyboard();
            if (!right_click_menu_due_) {
                ShowTrayMenu();
            }
            break;
        case monitor::kTrayContextMenu:
            if (!ShowTrayMenu() && !right_click_menu_due_) {
                tray_icon_.GiveFocusBack();
            }
            right_click_menu_due_ = false;
            break;
        default:
            break;
    }
}

bool VigiloView::ShowTrayMenu() {
    ports_.window.BringToForeground();
    return ports_.window.PopupMenu();
}

bool VigiloView::PingingEnabled() const {
    return popup.caption(vigilo_menu::menu_disable) == kDisableCaption;
}

void VigiloView::ToggleDisable() {
    if (!PingingEnabled()) {
        popup.SetCaption(vigilo_menu::menu_disable, kDisableCaption);
        ports_.ping.RestartTicks();
        TimerPing.SetEnabled(true);
        return;
    }
    popup.SetCaption(vigilo_menu::menu_disable, kEnableCaption);
    TimerPing.SetEnabled(false);
    ports_.messages.Show({monitor::PingDisabledMessage(), "Vigilo", ui::MessageButtons::Ok,
                          ui::MessageIcon::Information});
}

// A missing or broken "Zorvane.exe" must not end the monitor; the user is told once, even
// when more clicks ask again while the message is up. A user who declined the elevation
// prompt knows why nothing started.
void VigiloView::StartMainProgram() {
    constexpr unsigned long kElevationDeclined = 1223;  // ERROR_CANCELLED
    unsigned long error = ports_.launchers.StartMainProgram();
    if (error == 0 || error == kElevationDeclined || reporting_start_failure_) {
        return;
    }
    reporting_start_failure_ = true;
    ports_.messages.Show({"Zorvane could not be started from\r\n" +
                              ports_.launchers.MainProgramPath() + "\r\n\r\nWindows error " +
                              std::to_string(error) + ".",
                          "Vigilo", ui::MessageButtons::Ok, ui::MessageIcon::Exclamation});
    reporting_start_failure_ = false;
}

}  // namespace zv::monitor
