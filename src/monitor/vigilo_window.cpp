#include "monitor/vigilo_window.h"

namespace zv::monitor {

VigiloWindow::VigiloWindow(const MonitorPorts& ports) : ports_(ports), tray_icon_(ports.tray) {
    mnupopupmenu.SetVisible(false);
    popup_entries_ = {
        {&mnuZorvane, &mnupopupmenu}, {&mnuPingConfiguration, &mnupopupmenu},
        {&mnuPingNow, &mnupopupmenu}, {&mnudash1, &mnupopupmenu},
        {&mnuContact, &mnupopupmenu}, {&mnuWebsite, &mnuContact},
        {&mnuemail, &mnuContact},     {&mnudash2, &mnupopupmenu},
        {&mnuHelp, &mnupopupmenu},    {&mnudash3, &mnupopupmenu},
        {&mnuDisable, &mnupopupmenu}, {&mnudash4, &mnupopupmenu},
        {&mnuExit, &mnupopupmenu},
    };
    ConnectHandlers();
}

void VigiloWindow::ConnectHandlers() {
    TimerVigilo.on_tick = [this] { ProbeReachability(); };
    TimerIcon.on_tick = [this] { AnimateTrayIcon(); };
    TimerPing.on_tick = [this] { ports_.ping.TimerTick(); };
    ports_.ping.OnSettingsLoaded([this] { ArmTimerPing(); });

    mnuZorvane.on_click = [this] { StartMainProgram(); };
    mnuPingConfiguration.on_click = [this] { ports_.window.ShowPingDialog(); };
    mnuPingNow.on_click = [this] { ports_.ping.PingNow(); };
    mnuWebsite.on_click = [this] { ports_.launchers.OpenWebSite(); };
    mnuemail.on_click = [this] { ports_.launchers.OpenFeedbackPage(); };
    mnuHelp.on_click = [this] { ports_.launchers.OpenHelpPage(); };
    mnuDisable.on_click = [this] { ToggleDisable(); };
    mnuExit.on_click = [this] { ports_.window.Unload(); };
}

void VigiloWindow::Load() {
    frmVigilo.SetVisible(false);
    ports_.ping.LoadPingSettings();
    tray_icon_.Add(ports_.window.Handle(), kNotConnectedImage);
    TimerIcon.SetEnabled(false);
    ProbeReachability();
}

void VigiloWindow::QueryUnload() {
    tray_icon_.Remove();
}

void VigiloWindow::ShellRestarted() {
    tray_icon_.Add(ports_.window.Handle(), tray_icon_.record().hIcon);
}

void VigiloWindow::ArmTimerPing() {
    TimerPing.SetInterval(kPingTimerIntervalMs);
    TimerPing.SetEnabled(true);
}

void VigiloWindow::ProbeReachability() {
    if (ports_.ping.PingOnce(kProbeHost, kProbeTimeoutMs)) {
        link_state_ = kConnected;
        TimerIcon.SetEnabled(true);
    } else {
        tray_icon_.Change(kNotConnectedImage);
        link_state_ = kNotConnected;
        TimerIcon.SetEnabled(false);
    }
}

void VigiloWindow::AnimateTrayIcon() {
    ++animation_frame_;
    tray_icon_.Change(animation_frame_);
    if (animation_frame_ == kAnimationFrames) {
        animation_frame_ = 0;
    }
}

void VigiloWindow::HandleTrayMouse(int code) {
    switch (code) {
        case shell::kTrayLeftButtonUp:
        case shell::kTrayLeftDoubleClick:
            StartMainProgram();
            break;
        case shell::kTrayRightButtonUp:
            ports_.window.BringToForeground();
            ports_.window.PopupMenu();
            break;
        default:
            break;
    }
}

void VigiloWindow::ToggleDisable() {
    if (mnuDisable.caption() != kDisableCaption) {
        mnuDisable.SetCaption(kDisableCaption);
        ports_.ping.RestartTicks();
        TimerPing.SetEnabled(true);
        return;
    }
    mnuDisable.SetCaption(kEnableCaption);
    TimerPing.SetEnabled(false);
    ports_.messages.Show({shell::PingDisabledMessage(), "Vigilo", ui::MessageButtons::Ok,
                          ui::MessageIcon::Information});
}

// A missing or broken "Zorvane.exe" must not end the monitor; the user is told once, even
// when a double click asks three times while the message is up.
void VigiloWindow::StartMainProgram() {
    unsigned long error = ports_.launchers.StartMainProgram();
    if (error == 0 || reporting_start_failure_) {
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
