// PingDialogView on screen, for both programs: the real window bound to the PingDialogView
// controller, and OpenPingDialog, modal in the main program and modeless in the companion.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ping/ping_dialog_view.h"
#include "ping/keep_alive_ping.h"
#include "launch/launcher_port.h"
#include "ui/ports.h"
#include "win32/ui/binder.h"
#include "win32/ui/window_base.h"

namespace zv::win32 {

// One open PingDialogView: created, loaded and shown by Open, gone when the window is closed.
class PingDialogWindow : public WindowBase {
  public:
    PingDialogWindow(ping::KeepAlivePing& ping, ui::MessageBoxPort& messages,
                     launch::LauncherPort& launcher, const std::string& program_dir,
                     const std::string& program_title);
    ~PingDialogWindow() override;

    // Creates the window, runs the Load event and creates the controls; the window stays
    // hidden.
    bool Load(HWND owner);

  protected:
  private:
    void OnDpiChanged(int dpi, RECT& suggested) override;
    void AddControls();

    ping::PingDialogView dialog_;
    HFONT font_ = nullptr;
};

enum class PingDialogMode { Modal, Modeless };

// The command that opens PingDialogView. One per program, alive for its whole run.
class PingDialogHost {
  public:
    PingDialogHost(ping::KeepAlivePing& ping, ui::MessageBoxPort& messages,
                   launch::LauncherPort& launcher, std::string program_dir,
                   std::string program_title, PingDialogMode mode);

    // Loads the dialog (re-reading "Ping.cfg") unless it is open. Modal: returns when it
    // closes, the owner taking no input meanwhile. Modeless: returns at once; a dialog
    // already open is shown again as it is.
    void OpenPingDialog(HWND owner);

    // The open dialog's window, or null.
    HWND DialogWindow() const;

  private:
    ping::KeepAlivePing& ping_;
    ui::MessageBoxPort& messages_;
    launch::LauncherPort& launcher_;
    std::string program_dir_;
    std::string program_title_;
    PingDialogMode mode_;
    std::unique_ptr<PingDialogWindow> window_;
};

}  // namespace zv::win32
