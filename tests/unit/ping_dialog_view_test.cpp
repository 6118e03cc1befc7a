// The ping configuration dialog over its controls: what Load shows, the mode switches,
// Default and Cancel, and what OK refuses, saves and keeps.
#include <gtest/gtest.h>

#include "fakes/program_texts.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_launcher.h"
#include "fakes/recording_ui.h"
#include "fakes/scripted_ping_ports.h"
#include "ping/ping_dialog_view.h"

namespace zv::ping {
namespace {

using namespace zv::testing;
using Alignment = ui::TextBox::Alignment;

constexpr const char* kCfg = "C:\\Zv\\Ping.cfg";
const std::string kManualCfg = test_texts::PingFile(false, "host.example", 12, true);

class PingDialogViewTest : public ::testing::Test {
  protected:
    PingDialogViewTest() {
        ping.OnSettingsLoaded([this] { ++loads; });
        dialog.on_unload = [this] { ++unloads; };
    }

    // Manual Mode with a host typed and an interval chosen.
    void EnterManual(const std::string& host, int position) {
        dialog.manual_mode.Select();
        dialog.txtPingHost.SetText(host);
        dialog.cmbPingInterval.SetSelection(position);
    }

    // The fields as shown: host and interval can be changed in Manual Mode only.
    void ExpectShown(bool manual, const char* host, Alignment alignment, const char* interval,
                     int sound) const {
        EXPECT_TRUE((manual ? dialog.manual_mode : dialog.automatic_mode).selected());
        EXPECT_EQ(dialog.txtPingHost.text(), host);
        EXPECT_EQ(dialog.txtPingHost.alignment(), alignment);
        EXPECT_EQ(dialog.txtPingHost.enabled(), manual);
        EXPECT_EQ(dialog.cmbPingInterval.enabled(), manual);
        EXPECT_EQ(dialog.cmbPingInterval.SelectedText(), interval);
        EXPECT_EQ(dialog.chkSound.value(), sound);
    }

    ScriptedSockets sockets;
    ScriptedEcho echo{sockets};
    RecordingSound sound;
    MemoryFileSystem files;
    RecordingMessageBox messages;
    RecordingLauncher launcher;
    InlinePingWorker pinger{sockets, echo};
    KeepAlivePing ping{{pinger, sound, files, messages}, "C:\\Zv", "Zorvane"};
    PingDialogView dialog{ping, messages, launcher, "C:\\Zv", "Zorvane"};
    int loads = 0;
    int unloads = 0;
};

TEST_F(PingDialogViewTest, WithoutAFileItOpensInAutomaticModeAndOkWritesTheDefaults) {
    dialog.Form_Load();

    EXPECT_EQ(dialog.explanation_label.caption(), kPingExplanation);
    ExpectShown(false, "Automatic", Alignment::Center, "5 min.", kUnchecked);
    ASSERT_EQ(dialog.cmbPingInterval.ItemCount(), 60);
    EXPECT_EQ(dialog.cmbPingInterval.ItemText(0), "1 min.");
    EXPECT_EQ(dialog.cmbPingInterval.ItemText(59), "60 min.");
    EXPECT_EQ(loads, 1);

    dialog.cmdOK.Click();
    EXPECT_EQ(files.files[kCfg], test_texts::PingFile(true, "www.wikipedia.org", 5, false));
    EXPECT_EQ(unloads, 1);
}

TEST_F(PingDialogViewTest, ManualSettingsAreShownAsStored) {
    files.files[kCfg] = kManualCfg;
    dialog.Form_Load();
    dialog.Form_Load();  // a second load lists 60 items, not 120

    ExpectShown(true, "host.example", Alignment::Left, "12 min.", kChecked);
    EXPECT_EQ(dialog.cmbPingInterval.ItemCount(), 60);
}

TEST_F(PingDialogViewTest, SwitchingModesClearsAndRestoresTheFields) {
    dialog.Form_Load();
    dialog.manual_mode.Select();
    EXPECT_EQ(dialog.txtPingHost.text(), "");
    EXPECT_EQ(dialog.txtPingHost.alignment(), Alignment::Left);
    EXPECT_TRUE(dialog.txtPingHost.enabled());
    EXPECT_EQ(dialog.cmbPingInterval.selection(), ui::kNoSelection);

    dialog.automatic_mode.Select();
    EXPECT_EQ(dialog.txtPingHost.text(), "Automatic");
    EXPECT_FALSE(dialog.txtPingHost.enabled());
    EXPECT_EQ(dialog.cmbPingInterval.SelectedText(), "5 min.");
}

TEST_F(PingDialogViewTest, ManualOkSavesWhatWasEntered) {
    dialog.Form_Load();
    EnterManual("ping.example.net", 11);
    dialog.chkSound.Toggle();
    dialog.cmdOK.Click();

    EXPECT_EQ(files.files[kCfg], test_texts::PingFile(false, "ping.example.net", 12, true));
    EXPECT_EQ(ping.Settings().PingHost, "ping.example.net");
    EXPECT_TRUE(ping.Settings().PingSound);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(unloads, 1);
}

// Also what the file would keep but no ping could use.
TEST_F(PingDialogViewTest, OkRefusesInputThatWouldNotComeBackFromTheFile) {
    dialog.Form_Load();
    struct Case {
        const char* host;
        int position;
    };
    const Case cases[] = {{"", 4},      {"host.example", ui::kNoSelection},
                          {" ", 4},     {"two words", 4},
                          {"a,b", 4},   {"\"quoted\"", 4},
                          {"tab\t", 4}, {"line\r\nbreak", 4},
                          {"1.2.3", 4}, {"127.0.0.1", 4},
                          {"::1", 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        messages.shown.clear();
        EnterManual(c.host, c.position);
        dialog.cmdOK.Click();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "Enter Values Properly.");
        EXPECT_EQ(messages.shown[0].caption, "Zorvane");
        EXPECT_EQ(messages.shown[0].icon, ui::MessageIcon::Information);
        EXPECT_EQ(dialog.txtPingHost.text(), c.host);  // left as it was
    }
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(unloads, 0);
}

TEST_F(PingDialogViewTest, DefaultThenCancelWritesNothingAndKeepsTheLoadedValues) {
    files.files[kCfg] = kManualCfg;
    dialog.Form_Load();
    dialog.cmdDefault.Click();
    EXPECT_TRUE(dialog.automatic_mode.selected());
    EXPECT_EQ(dialog.txtPingHost.text(), "Automatic");
    EXPECT_EQ(dialog.cmbPingInterval.SelectedText(), "5 min.");
    EXPECT_EQ(dialog.chkSound.value(), kUnchecked);

    dialog.cmdCancel.Click();
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(ping.Settings().PingHost, "host.example");
    EXPECT_TRUE(ping.Settings().PingSound);
    EXPECT_EQ(unloads, 1);
}

TEST_F(PingDialogViewTest, DefaultInAutomaticModeStillResetsTheInterval) {
    files.files[kCfg] = test_texts::PingFile(true, "h", 30, false);
    dialog.Form_Load();
    EXPECT_EQ(dialog.cmbPingInterval.SelectedText(), "30 min.");
    dialog.cmdDefault.Click();
    EXPECT_EQ(dialog.cmbPingInterval.SelectedText(), "5 min.");
}

TEST_F(PingDialogViewTest, UnwritableFileIsNamedAndTheNewValuesStillApply) {
    dialog.Form_Load();
    files.writes_fail = true;
    EnterManual("10.0.0.1", 0);
    dialog.cmdOK.Click();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(kCfg), std::string::npos);
    EXPECT_EQ(ping.Settings().PingHost, "10.0.0.1");
    EXPECT_EQ(unloads, 1);
    ping.PingNow();
    EXPECT_EQ(echo.requests.size(), 1u);
}

TEST_F(PingDialogViewTest, HelpOpensTheHelpPage) {
    dialog.cmdHelp.Click();
    EXPECT_EQ(launcher.launches,
              (std::vector<Launch>{{"open", "C:\\Zv\\Help\\help.htm", launch::kNormalFocus}}));
}

TEST_F(PingDialogViewTest, ControlsInTheFrameArePlacedRelativeToIt) {
    const ui::Bounds& sound = dialog.chkSound.bounds();
    EXPECT_EQ(sound.left, 240 + 1200);
    EXPECT_EQ(sound.top, 1200 + 2160);
    const ui::Bounds& ok = dialog.cmdOK.bounds();
    EXPECT_EQ(ok.left, 5280);
    EXPECT_EQ(ok.top, 1440);
}

}  // namespace
}  // namespace zv::ping
