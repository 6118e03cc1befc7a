// The companion's real window frmVigilo: never shown, whoever starts the program and with
// whatever show instruction; it owns the tray icon and the tray menu, receives the icon's
// mouse codes, the probe thread's outcomes and the sleep and wake, and runs the three
// timers of its controller.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "monitor/vigilo_view.h"
#include "ui/palette.h"
#include "launch/launchers.h"
#include "win32/ping/keep_alive.h"
#include "win32/vigilo/win32_tray_port.h"
#include "win32/ui/binder.h"
#include "win32/ui/real_menu.h"
#include "win32/ui/window_base.h"
#include "win32/vigilo/history_window.h"
#include "win32/vigilo/link_ports_win.h"
#include "win32/vigilo/log_writer.h"
#include "win32/vigilo/probe_recorder.h"
#include "win32/vigilo/probe_thread.h"
#include "win32/vigilo/report_opener.h"
#include "win32/vigilo/rpm_tester.h"
#include "win32/vigilo/rpm_window.h"

namespace zv::win32 {

// The pictures of imgVigilo at the tray's icon size for a DPI: the program's own, loaded
// once for the program's life and again when the DPI changes, and those in the system's
// colours, drawn while the scheme asks for them.
class VigiloImages {
  public:
    explicit VigiloImages(int dpi);
    ~VigiloImages();
    VigiloImages(const VigiloImages&) = delete;
    VigiloImages& operator=(const VigiloImages&) = delete;

    const std::vector<HICON>& icons() const { return loaded_; }
    // The pictures for the scheme; those drawn before are destroyed, as the colours they
    // were drawn in may have changed.
    const std::vector<HICON>& For(ui::Scheme scheme);
    void Swap(VigiloImages& other);

  private:
    std::vector<HICON> loaded_;
    std::vector<HICON> drawn_;
    int dpi_;
};

class VigiloWindow : public WindowBase, private monitor::MonitorWindowPort {
  public:
    VigiloWindow(KeepAlive& keep_alive, launch::Launchers& launchers, ui::MessageBoxPort& messages);
    ~VigiloWindow() override;

    // Creates the hidden window and runs its load: settings, icon, first probe.
    bool Load();

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnDpiChanged(int dpi, RECT& suggested) override;

  private:
    std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(hwnd()); }
    void BringToForeground() override;
    bool PopupMenu() override;
    void ShowPingDialog() override;
    void ShowHistoryWindow() override;
    void ShowResponsivenessWindow() override;
    void MakeOutageReport() override;
    // The tray's pictures and the history window follow the scheme of now.
    void ColoursChanged() override;
    void Unload() override;

    void CloseHistoryWindow();
    // The tray icon's pictures for the DPI and colour scheme of now, shown at once.
    void ShowTrayPictures();
    // The tester's progress or outcome: to the test's window when open, and the newest
    // result to the history window's line.
    void TakeRpmReport();
    // WM_POWERBROADCAST: the computer goes to sleep or woke.
    void PowerChanged(WPARAM event);
    void TakeWorkerOutcome(UINT message);
    // The report written: opened, then told; or told at once when nothing was written.
    void ReportWritten();
    void ReportOpened();
    void BringReportDialogForward();

    VigiloImages images_;
    ui::Scheme tray_scheme_ = ui::Scheme::Normal;  // the tray's pictures are of it
    Win32TrayPort tray_;
    KeepAlive& keep_alive_;
    ui::MessageBoxPort& messages_;
    Win32Clock clock_;
    LogWriter log_;
    ProbeRecorder record_;
    RegistryMonitorOptions options_;
    ProbeThread probe_;
    monitor::VigiloView controller_;
    std::unique_ptr<RealMenu> popup_;
    HistoryWindow* history_ = nullptr;  // deletes itself when closed
    RpmTester rpm_tester_;
    RpmWindow* rpm_window_ = nullptr;  // deletes itself when closed
    ReportOpener report_opener_;
    // From "Outage Report..." until its outcome is told: its dialogs open, then its report
    // being written and opened; the outcome while the page opens.
    enum class ReportStep { None, Choosing, Writing };
    ReportStep report_step_ = ReportStep::None;
    std::optional<monitor::ReportOutcome> written_report_;
    UINT taskbar_created_;
    // Where the shell put the icon that the context-menu key was pressed on.
    std::optional<POINT> menu_anchor_;
};

}  // namespace zv::win32
