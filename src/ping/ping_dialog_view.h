// The ping configuration dialog PingDialogView as a controller over its controls: it shows the
// ping settings, lets the user choose Automatic or Manual mode, a host, an interval and
// the sound, and saves them on OK. The same controller serves both programs; the Win32
// layer shows it modal in the main program and modeless in the companion.
#pragma once

#include <functional>
#include <string>

#include "ping/keep_alive_ping.h"
#include "launch/launcher_port.h"
#include "ui/captioned.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/option.h"
#include "ui/ports.h"
#include "ui/text_box.h"

namespace zv::ping {

// Client area of the dialog, in twips.
inline constexpr int kPingDialogWidth = 6600;
inline constexpr int kPingDialogHeight = 4125;
inline constexpr int kPingIntervalItems = 60;

inline constexpr const char* kPingExplanation =
    "Most Internet Service Providers Disconnect users after a fixed time of modem activity. "
    "Setup the Ping Interval and you will not be disconnected...";
inline constexpr const char* kAutomaticHostText = "Automatic";
inline constexpr const char* kEnterValuesProperly = "Enter Values Properly.";

class PingDialogView {
  public:
    // The program folder has no trailing backslash; the title captions message boxes.
    PingDialogView(KeepAlivePing& ping, ui::MessageBoxPort& messages,
                   launch::LauncherPort& launcher, std::string program_dir,
                   std::string program_title);
    PingDialogView(const PingDialogView&) = delete;
    PingDialogView& operator=(const PingDialogView&) = delete;

    // Runs when the dialog is to close (OK or Cancel); the window goes away there.
    std::function<void()> on_unload;

    // The Load event: re-reads "Ping.cfg" and shows it.
    void Form_Load();

    // Controls in tab order; positions in twips relative to the window.
    ui::Window window{"Ping Configuration"};
    ui::Label explanation_label;
    ui::Frame configuration_frame{"Configuration"};
    ui::OptionGroup mode;
    ui::Option automatic_mode{"Automatic Mode", mode};
    ui::Option manual_mode{"Manual Mode", mode};
    ui::Label host_label{"Ping Host"};
    ui::TextBox txtPingHost;
    ui::Label interval_label{"Ping Interval"};
    ui::ComboBox cmbPingInterval;
    ui::Button cmdOK{"OK"};
    ui::Button cmdCancel{"Cancel"};
    ui::CheckBox chkSound{"Play &Sound at Ping"};
    ui::Button cmdDefault{"Default"};
    ui::Label ping_picture;
    ui::Button cmdHelp{"&Help"};

  private:
    void PlaceControls();
    void ShowPingSettings();
    void ShowMode(bool automatic);
    bool PingInputIncomplete() const;
    void Unload();

    void Option1_Click();
    void Option2_Click();
    void cmdDefault_Click();
    void cmdOK_Click();
    void cmdHelp_Click();

    KeepAlivePing& ping_;
    ui::MessageBoxPort& messages_;
    launch::LauncherPort& launcher_;
    std::string program_dir_;
    std::string program_title_;
};

// A host that survives the round trip through "Ping.cfg": not empty, and without blanks,
// commas, double quotes or control characters.
bool IsStorableHost(const std::string& host);

}  // namespace zv::ping
