#include "ping/ping_dialog_view.h"

#include "common/flags.h"
#include "ping/host_check.h"

namespace zv::ping {

namespace {

constexpr int kAutomaticIntervalPosition = 4;  // 5 min.

// Controls drawn inside a frame are placed relative to it.
ui::Bounds In(const ui::Frame& frame, int left, int top, int width, int height) {
    return ui::Bounds{frame.bounds().left + left, frame.bounds().top + top, width, height};
}

int IntervalPosition(const std::string& interval) {
    auto minutes = PingIntervalMinutes(interval);
    return minutes ? *minutes - 1 : ui::kNoSelection;
}

}  // namespace

bool IsStorableHost(const std::string& host) {
    if (host.empty()) {
        return false;
    }
    for (char c : host) {
        if (c == ' ' || c == ',' || c == '"' || static_cast<unsigned char>(c) < 0x20) {
            return false;
        }
    }
    return true;
}

PingDialogView::PingDialogView(KeepAlivePing& ping, ui::MessageBoxPort& messages,
                               launch::LauncherPort& launcher, std::string program_dir,
                               std::string program_title)
    : ping_(ping),
      messages_(messages),
      launcher_(launcher),
      program_dir_(std::move(program_dir)),
      program_title_(std::move(program_title)) {
    PlaceControls();
    automatic_mode.Select();  // as designed
    automatic_mode.on_select = [this] { Option1_Click(); };
    manual_mode.on_select = [this] { Option2_Click(); };
    cmdDefault.on_click = [this] { cmdDefault_Click(); };
    cmdOK.on_click = [this] { cmdOK_Click(); };
    cmdCancel.on_click = [this] { Unload(); };
    cmdHelp.on_click = [this] { cmdHelp_Click(); };
}

void PingDialogView::PlaceControls() {
    explanation_label.SetBounds({1200, 240, 3615, 855});
    ping_picture.SetBounds({360, 360, 615, 615});
    configuration_frame.SetBounds({240, 1200, 4575, 2655});
    automatic_mode.SetBounds(In(configuration_frame, 480, 480, 1695, 255));
    manual_mode.SetBounds(In(configuration_frame, 2400, 480, 1455, 255));
    host_label.SetBounds(In(configuration_frame, 480, 1080, 975, 255));
    txtPingHost.SetBounds(In(configuration_frame, 1680, 1080, 1935, 315));
    interval_label.SetBounds(In(configuration_frame, 480, 1560, 1095, 255));
    cmbPingInterval.SetBounds(In(configuration_frame, 1680, 1560, 1215, 315));
    chkSound.SetBounds(In(configuration_frame, 1200, 2160, 2295, 255));
    cmdOK.SetBounds({5280, 1440, 1095, 375});
    cmdCancel.SetBounds({5280, 2040, 1095, 375});
    cmdHelp.SetBounds({5280, 2640, 1095, 375});
    cmdDefault.SetBounds({5280, 3240, 1095, 375});
}

void PingDialogView::Form_Load() {
    explanation_label.SetCaption(kPingExplanation);
    ping_.LoadPingSettings();
    cmbPingInterval.Clear();
    for (int minutes = 1; minutes <= kPingIntervalItems; ++minutes) {
        cmbPingInterval.AddItem(std::to_string(minutes) + " min.");
    }
    ShowPingSettings();
}

void PingDialogView::ShowPingSettings() {
    const PingSettings& settings = ping_.Settings();
    if (settings.PingAutomatic) {
        automatic_mode.Select();
    } else {
        manual_mode.Select();
    }
    ShowMode(settings.PingAutomatic);
    txtPingHost.SetText(settings.PingAutomatic ? kAutomaticHostText : settings.PingHost);
    cmbPingInterval.SetSelection(IntervalPosition(settings.PingInterval));
    chkSound.SetValue(FlagToChecked(settings.PingSound));
}

void PingDialogView::ShowMode(bool automatic) {
    txtPingHost.SetEnabled(!automatic);
    cmbPingInterval.SetEnabled(!automatic);
    txtPingHost.SetAlignment(automatic ? ui::TextBox::Alignment::Center
                                       : ui::TextBox::Alignment::Left);
}

void PingDialogView::Option1_Click() {
    ShowMode(true);
    txtPingHost.SetText(kAutomaticHostText);
    cmbPingInterval.SetSelection(kAutomaticIntervalPosition);
}

void PingDialogView::Option2_Click() {
    ShowMode(false);
    txtPingHost.SetText("");
    cmbPingInterval.SetSelection(ui::kNoSelection);
}

void PingDialogView::cmdDefault_Click() {
    automatic_mode.Select();
    Option1_Click();  // also when Automatic Mode was already selected
    chkSound.SetValue(kUnchecked);
}

bool PingDialogView::PingInputIncomplete() const {
    return manual_mode.selected() && (!HostProblem(txtPingHost.text()).empty() ||
                                      cmbPingInterval.selection() == ui::kNoSelection);
}

void PingDialogView::cmdOK_Click() {
    if (PingInputIncomplete()) {
        ui::Message message;
        message.text = kEnterValuesProperly;
        message.caption = program_title_;
        messages_.Show(message);
        return;
    }
    PingSettings& settings = ping_.Settings();
    settings.PingSound = CheckedToFlag(chkSound.value());
    if (automatic_mode.selected()) {
        SetPingDefaults(settings);
    } else {
        settings.PingAutomatic = false;
        settings.PingHost = txtPingHost.text();
        settings.PingInterval = std::to_string(cmbPingInterval.selection() + 1);
    }
    ping_.SavePingSettings();
    Unload();
}

void PingDialogView::Unload() {
    if (on_unload) {
        on_unload();
    }
}

void PingDialogView::cmdHelp_Click() {
    launcher_.ShellOpen(program_dir_ + "\\Help\\help.htm", launch::kNormalFocus);
}

}  // namespace zv::ping
