// The main program's start and its main window's load, buttons and layout, without a window.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "fakes/program_texts.h"
#include "fakes/memory_machine.h"
#include "fakes/memory_tip_option.h"
#include "fakes/menu_outline.h"
#include "fakes/recording_launcher.h"
#include "fakes/recording_main_window.h"
#include "fakes/recording_ui.h"
#include "fakes/registry_paths.h"
#include "fakes/scripted_backup.h"
#include "fakes/scripted_ping_ports.h"
#include "fakes/scripted_restart.h"
#include "fakes/settings_records.h"
#include "main_window/main_view.h"
#include "main_window/main_window_layout.h"
#include "main_window/start_program.h"
#include "sysconfig/registry_access.h"

namespace zv::main_window {
namespace {

const std::string kDir = "C:\\Program Files\\Zorvane";

class ScriptedStart : public StartPorts {
  public:
    bool first_copy = true;
    bool writer_runs = false;
    int companions = 0;
    int detections = 0;
    int locks_taken = 0;
    bool IsFirstCopy() override {
        ++locks_taken;
        return first_copy;
    }
    bool WriterRuns() override { return writer_runs; }
    WindowsVersion DetectWindowsVersion() override {
        ++detections;
        return WindowsVersion{WindowsRelease::Windows98, "Windows 98", {}};
    }
    void StartCompanion() override { ++companions; }
};

TEST(StartProgramTest, ArgumentDecidesBetweenWindowAndCompanion) {
    struct Case {
        const char* argument;
        StartOutcome outcome;
    };
    for (const Case& c :
         {Case{"", StartOutcome::ShowMainWindow}, Case{"0", StartOutcome::ShowMainWindowNormal},
          Case{" 00 ", StartOutcome::ShowMainWindowNormal}, Case{"1", StartOutcome::CompanionOnly},
          Case{"-7", StartOutcome::CompanionOnly}, Case{"abc", StartOutcome::ShowMainWindow},
          Case{"1x", StartOutcome::ShowMainWindow}}) {
        SCOPED_TRACE(c.argument);
        ScriptedStart ports;
        ProgramRecords records;
        EXPECT_EQ(StartProgram(ports, c.argument, records), c.outcome);
        EXPECT_EQ(records.WindowsName, "Windows 98");
        EXPECT_EQ(records.WindowsRelease, WindowsRelease::Windows98);
        EXPECT_EQ(ports.companions, c.outcome == StartOutcome::CompanionOnly ? 1 : 0);
        // Only the window takes the lock of the copy that may write.
        EXPECT_EQ(ports.locks_taken, c.outcome == StartOutcome::CompanionOnly ? 0 : 1);
    }
}

TEST(StartProgramTest, SecondCopyEndsBeforeDoingAnything) {
    for (const char* argument : {"", "1"}) {
        SCOPED_TRACE(argument);
        ScriptedStart ports;
        ports.first_copy = false;
        ports.writer_runs = true;
        ProgramRecords records;
        EXPECT_EQ(StartProgram(ports, argument, records), StartOutcome::EndSilently);
        EXPECT_EQ(ports.detections, 0);
        EXPECT_EQ(ports.companions, 0);
    }
}

using Dialog = main_menu::Dialog;
const auto DialogCall = testing::RecordingMainWindow::DialogCall;

class MainViewTest : public ::testing::Test, protected testing::MemoryMachine {
  protected:
    MainViewTest() {
        records.WindowsRelease = WindowsRelease::Windows2000;
        records.WindowsName = "Windows XP";
        records.ProgramDirectory = kDir;
    }

    // The load, with the tip of the day switched off at start.
    void LoadWithoutTip() {
        tip_option.stored = "0";
        Load();
    }

    void Load() {
        window.LoadMainWindow();
        window.ShowMainWindow();
    }

    ProgramRecords records;
    testing::RecordingMainWindow window_ports;
    testing::RecordingMessageBox messages;
    testing::CountingEventPump pump;
    testing::CountingBeeper beeper;
    testing::ScriptedRestart restart;
    testing::ScriptedBackup backup;
    testing::MemoryTipOption tip_option;
    testing::RecordingLauncher launcher;
    launch::Launchers launchers{launcher, kDir};
    testing::ScriptedSockets sockets;
    testing::ScriptedEcho echo{sockets};
    testing::RecordingSound sound;
    testing::InlinePingWorker pinger{sockets, echo};
    ping::KeepAlivePing ping{{pinger, sound, files, messages}, kDir, "Zorvane"};
    MainView window{records,
                    MainWindowPorts{window_ports, messages, pump, beeper, files, folders, registry,
                                    restart, backup, tip_option, launchers, ping}};
};

TEST_F(MainViewTest, FirstStartShowsAutomaticModeAndStartsTheCompanionHidden) {
    files.files[kDir + "\\Ping.cfg"] = "damaged";
    Load();

    EXPECT_TRUE(window.area.optimization_mode[0].selected());
    EXPECT_EQ(window.area.connection_type_list.SelectedText(), "Dial-up (Modem)");
    EXPECT_EQ(records.CurrentSettings.MTU, 576);  // the preset is in place before any Apply
    EXPECT_EQ(window.chrome.status_bar.PanelText(1),
              "Choose your wanted Settings and Press \"Apply\"");
    EXPECT_EQ(window.chrome.status_bar.PanelText(2), "Mode: Optimize");
    EXPECT_EQ(window.chrome.status_bar.PanelText(3), "OS: Windows XP");
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0].target, "\"" + kDir + "\\vigilo.exe\"");
    EXPECT_EQ(launcher.launches[0].show, 0);
    EXPECT_EQ(window_ports.calls,
              std::vector<std::string>{DialogCall(Dialog::StartupTip)});  // before the window shows
    EXPECT_TRUE(window.frmMain.visible());
    EXPECT_FALSE(window.area.IsLoading());
    EXPECT_GE(pump.runs, 2);  // after reading the files and after filling the window
    EXPECT_EQ(ping.Settings().PingHost, ping::DefaultPingHost);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(files.writes, 0);
}

// The real controls are made between the load and the show; the companion starts only
// once the shown window has painted (its timer's tick), and once.
TEST_F(MainViewTest, CompanionStartsOnceTheShownWindowHasPainted) {
    tip_option.stored = "0";
    window.LoadMainWindow();
    EXPECT_EQ(window.area.connection_type_list.SelectedText(), "Dial-up (Modem)");
    EXPECT_FALSE(window.frmMain.visible());
    window.ShowMainWindow();
    EXPECT_TRUE(window.frmMain.visible());
    EXPECT_FALSE(window.area.IsLoading());
    EXPECT_EQ(launcher.launches.size(), 0u) << "started before the window painted";
    window.companion_start.Tick();
    window.companion_start.Tick();
    EXPECT_EQ(launcher.launches.size(), 1u);
}

TEST_F(MainViewTest, LoadShowsTheSavedManualChoiceWithoutDialogsAndHonoursTipOption) {
    files.files[kDir + "\\Zorvane.cfg"] =
        "ConnectionType,3\r\nOptiMode,1\r\nMTU,#TRUE#,1400\r\nRWIN,#FALSE#,-1,-1\r\n"
        "TTL,#FALSE#,-1\r\nSKA,#FALSE#,-1,-1\r\nNDI,#FALSE#,-1,-1\r\nPMTU,#TRUE#\r\n"
        "BlackHole,#FALSE#\r\nMSCPS0,0,2\r\nMSCPS1,2,4\r\n";
    LoadWithoutTip();

    EXPECT_TRUE(window.area.optimization_mode[1].selected());
    EXPECT_EQ(window.area.connection_type_list.SelectedText(), "ADSL/Cable");
    EXPECT_EQ(window.area.mtu.value.text(), "1400");
    EXPECT_EQ(window.chrome.status_bar.PanelText(2), "Mode: Manual");
    EXPECT_TRUE(window_ports.calls.empty());
    EXPECT_FALSE(window.QueryUnload());
    EXPECT_EQ(launcher.launches.size(), 1u)
        << "closed before its first paint: started as it closes";
}

TEST_F(MainViewTest, ButtonsAndChromeReachTheOperations) {
    LoadWithoutTip();
    messages.answers = {ui::MessageAnswer::Ok, ui::MessageAnswer::No};
    window.cmdApply.Click();
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(files.files[kDir + "\\Zorvane.cfg"], "ConnectionType,0\r\nOptiMode,0\r\n");

    window.cmdPing.Click();
    window.area.optimization_mode[1].Select();
    EXPECT_EQ(window_ports.calls, (std::vector<std::string>{DialogCall(Dialog::PingConfiguration),
                                                            "explain Dial-up (Modem)"}));

    launcher.launches.clear();
    window.cmdHelp.Click();
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0].target, kDir + "\\Help\\help.htm");
    EXPECT_FALSE(window.QueryUnload());
}

TEST_F(MainViewTest, MenuBarHoldsEveryItemInOrderWithItsCommand) {
    EXPECT_EQ(testing::Outline(window.chrome.menu),
              "&File\n"
              "  &Apply New Settings 201\n"
              "  &Registry Backup 202\n"
              "  &Ping Configuration 203\n"
              "  -\n"
              "  Restore &Windows Original Settings 204\n"
              "  -\n"
              "  &Exit 205\n"
              "&View\n"
              "  &ToolBar 211 checked\n"
              "  &Status Bar 212 checked\n"
              "  &Use System Colours 217\n"
              "  -\n"
              "  &Control Panel\n"
              "    &Systems... 213\n"
              "    &Internet... 214\n"
              "    &Modems... 215\n"
              "    &Networks... 216\n"
              "&Tools\n"
              "  &Current Settings... 221\n"
              "  &Undo Last Change 222\n"
              "  Undo &All Changes 225\n"
              "  &Export for Deployment... 223\n"
              "  -\n"
              "  &Network Stack... 226\n"
              "  &Find Largest MTU... 224\n"
              "&Help\n"
              "  User's Guide 231\n"
              "  &Tip of the Day 232\n"
              "  -\n"
              "  Contact us\n"
              "    Visit our Web Site 233\n"
              "    Email us 234\n");
}

// What one command did: the window's dialogs it opened, what it launched, the message
// boxes it showed and the registry exports it ran.
TEST_F(MainViewTest, EachMenuCommandReachesItsOperation) {
    using namespace main_menu;
    LoadWithoutTip();
    launcher.launches.clear();
    const std::string rundll = "rundll32.exe shell32.dll,Control_RunDLL ";
    backup.chosen = kDir + "\\backup.reg";
    window.cmdApply.SetEnabled(false);  // the menu applies whatever the button's state
    const std::pair<int, std::string> cases[] = {
        {menu_apply_new_settings, "messages 3"},
        {menu_undo_last_change, "messages 3"},
        {menu_registry_backup, "messages 1backup"},
        {menu_ping_configuration, DialogCall(Dialog::PingConfiguration)},
        {menu_restore, "messages 1"},  // the question, answered No
        {menu_exit, "close"},
        {menu_system, rundll + "sysdm.cpl,,0"},
        {menu_internet, rundll + "inetcpl.cpl,,0"},
        {menu_modems, rundll + "telephon.cpl"},
        {menu_networks, rundll + "ncpa.cpl"},
        {menu_current_settings, "current settings"},
        {menu_export_for_deployment, "choose export"},
        {menu_find_largest_mtu, "mtu finder " + ping.Settings().PingHost},
        {menu_network_stack, DialogCall(Dialog::NetworkStack)},
        {menu_users_guide, kDir + "\\Help\\help.htm"},
        {menu_tip_of_the_day, "tip modeless"},
        {menu_web_site, "http://www.zorvane.com/index.php"},
        {menu_email, "http://www.zorvane.com/resources/feedback.php"},
    };
    for (const auto& [command, effect] : cases) {
        messages.answers = {ui::MessageAnswer::Ok, ui::MessageAnswer::Ok, ui::MessageAnswer::No};
        EXPECT_TRUE(window.chrome.menu.Choose(command)) << command;
        std::string seen;
        for (const std::string& call : window_ports.calls) {
            seen += call;
        }
        for (const auto& launch : launcher.launches) {
            seen += launch.target;
        }
        seen += messages.shown.empty() ? "" : "messages " + std::to_string(messages.shown.size());
        seen += backup.commands.empty() ? "" : "backup";
        EXPECT_EQ(seen, effect) << command;
        window_ports.calls.clear();
        launcher.launches.clear();
        messages.shown.clear();
        backup.commands.clear();
    }
}

TEST_F(MainViewTest, AnMtuFoundForThePingHostIsUsedInManualModeButNotApplied) {
    files.files[kDir + "\\Ping.cfg"] = test_texts::PingFile(false, "mtu.example", 3, false);
    LoadWithoutTip();
    window.FindLargestMtu();  // closed without a choice: nothing changes
    EXPECT_TRUE(window.area.optimization_mode[0].selected());

    window_ports.found_mtu = 1400;
    window.FindLargestMtu();
    EXPECT_EQ(window_ports.calls,
              (std::vector<std::string>{"mtu finder mtu.example", "mtu finder mtu.example",
                                        "explain Dial-up (Modem)"}));
    EXPECT_EQ(window.area.mtu.value.text(), "1400");
    EXPECT_EQ(window.chrome.status_bar.PanelText(2), "Mode: Manual");
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(registry.ValueCount(), 0u);
}

// Typed in steps, a Manual setup is saved with the RWIN of the MTU typed last (or of 1500
// when the box was left empty), is written so into Windows, and loads back as saved.
TEST_F(MainViewTest, ManualApplyReckonsTheRwinOnTheMtuInEffect) {
    LoadWithoutTip();
    TuningView& a = window.area;
    a.optimization_mode[1].Select();
    // The MTU box when x64 is picked ("9" of "9000"; emptied), then when Apply is pressed.
    for (auto [at_pick, at_apply, rwin] :
         {std::tuple{"9", "9000", 576000u}, std::tuple{"", "1500", 96000u}}) {
        SCOPED_TRACE(at_apply);
        a.mtu.windows_default.Select();
        a.rwin.windows_default.Select();
        a.mtu.custom.Select();
        a.mtu.value.SetText("1");
        a.mtu.value.SetText(at_pick);
        a.rwin.custom.Select();
        a.rwin.value.SetSelection(8);
        a.mtu.value.SetText(at_apply);
        messages.answers = {ui::MessageAnswer::Ok, ui::MessageAnswer::No};
        window.cmdApply.Click();

        EXPECT_EQ(registry.Dword(test_keys::kTcpip, "TcpWindowSize"), rwin);
        TuningSettings loaded;
        LoadSettings(files, kDir, records.DefaultSettings, loaded);
        EXPECT_EQ(loaded, records.CurrentSettings);
    }
}

// Between its question and the save, Restore shows the Windows defaults; No leaves all.
TEST_F(MainViewTest, RestoreShowsTheWindowsDefaultsAndSavesThem) {
    LoadWithoutTip();
    messages.answers = {ui::MessageAnswer::No, ui::MessageAnswer::Yes};
    window.Restore();
    EXPECT_EQ(records.CurrentSettings.OptimizationMode, AutomaticMode);
    window.Restore();
    EXPECT_EQ(records.CurrentSettings, testing::RestoredSettings());
    EXPECT_TRUE(window.area.mtu.windows_default.selected() &&
                window.area.optimization_mode[0].selected());
    EXPECT_EQ(files.files[kDir + "\\Zorvane.cfg"], FormatSettingsFile(testing::RestoredSettings()));
}

// Restore leaves Automatic selected with the tuning controls open; a type picked then
// applies its preset and closes them, as Automatic mode has them: left open, they would
// let a value reach Windows that the saved file does not hold.
TEST_F(MainViewTest, TypePickedAfterRestoreClosesTheTuningControls) {
    LoadWithoutTip();
    messages.answers = {ui::MessageAnswer::Yes};
    window.Restore();
    ASSERT_TRUE(window.area.http10_connections.enabled());
    messages.answers = {ui::MessageAnswer::Ok, ui::MessageAnswer::No};
    window.area.connection_type_list.SetSelection(3);

    EXPECT_FALSE(window.area.http10_connections.enabled() ||
                 window.area.mtu.windows_default.enabled());
    EXPECT_FALSE(window.area.mtu.windows_default.selected());
    EXPECT_EQ(files.files[kDir + "\\Zorvane.cfg"], "ConnectionType,3\r\nOptiMode,0\r\n");
}

// The Tools menu: Undo is available only while there is something to undo and puts the
// registry and Zorvane.cfg back; the report and the export take the window's choice, and
// a choice Apply would refuse is neither reported as written nor exported.
TEST_F(MainViewTest, ToolsMenuUndoesTheLastApplyAndReportsAndExportsTheWindowsChoice) {
    using namespace main_menu;
    registry.Put(test_keys::kTcpip, "DefaultTTL", kRegDword, DwordBytes(64));
    LoadWithoutTip();
    const std::string registry_before = registry.Dump();
    EXPECT_FALSE(window.chrome.menu.enabled(menu_undo_last_change));
    window.cmdApply.Click();
    EXPECT_TRUE(window.chrome.menu.enabled(menu_undo_last_change));

    messages.shown.clear();
    messages.answers = {ui::MessageAnswer::Ok, ui::MessageAnswer::No};
    EXPECT_TRUE(window.chrome.menu.Choose(menu_undo_last_change));
    ASSERT_EQ(messages.shown.size(), 3u) << "done, the restart question, the reminder";
    EXPECT_EQ(registry.Dump(), registry_before);
    EXPECT_EQ(files.files.count(kDir + "\\Zorvane.cfg"), 0u);
    EXPECT_FALSE(window.chrome.menu.enabled(menu_undo_last_change));

    window.chrome.menu.Choose(menu_current_settings);
    ASSERT_TRUE(window_ports.read_report);
    EXPECT_EQ(window_ports.read_report()[2].setting, "Time to live (TTL): DefaultTTL");
    EXPECT_EQ(window_ports.read_report()[2].apply_would_write, "128");  // the dial-up preset
    window_ports.export_path = kDir + "\\dial-up.reg";
    window.chrome.menu.Choose(menu_export_for_deployment);
    EXPECT_EQ(files.files.count(kDir + "\\dial-up-undo.reg"), 1u);

    window.area.optimization_mode[1].Select();
    window.area.mtu.custom.Select();  // Custom, with no MTU typed
    window_ports.calls.clear();
    messages.shown.clear();
    EXPECT_EQ(window_ports.read_report()[2].apply_would_write, "(choice incomplete)");
    window.chrome.menu.Choose(menu_export_for_deployment);
    EXPECT_EQ(messages.shown.size(), 1u) << "the check's message, before any save dialog";
    EXPECT_TRUE(window_ports.calls.empty());
}

// After an Undo the window shows the choice it put back, as at start, so that the next
// Apply does not redo the change; Undo All Changes goes back before the first change.
TEST_F(MainViewTest, UndoShowsTheChoiceItPutBack) {
    using namespace main_menu;
    files.files[kDir + "\\Zorvane.cfg"] = "ConnectionType,4\r\nOptiMode,0\r\n";  // T1
    LoadWithoutTip();
    EXPECT_FALSE(window.chrome.menu.enabled(menu_undo_all_changes));
    window.area.connection_type_list.SetSelection(2);  // ISDN, applied at once
    window.area.connection_type_list.SetSelection(1);
    EXPECT_TRUE(window.chrome.menu.enabled(menu_undo_all_changes));

    EXPECT_TRUE(window.chrome.menu.Choose(menu_undo_last_change));
    EXPECT_EQ(window.area.connection_type_list.SelectedText(), "ISDN");
    EXPECT_EQ(records.CurrentSettings.ConnectionType, 2);
    EXPECT_TRUE(window.chrome.menu.Choose(menu_undo_all_changes));
    EXPECT_EQ(window.area.connection_type_list.SelectedText(), "T1");
    EXPECT_EQ(records.CurrentSettings.ConnectionType, 4);
    EXPECT_FALSE(window.chrome.menu.enabled(menu_undo_last_change));
    EXPECT_EQ(files.files[kDir + "\\Zorvane.cfg"], "ConnectionType,4\r\nOptiMode,0\r\n");
}

// Every control lies inside settings_frame, and the value frames do not overlap.
TEST_F(MainViewTest, LayoutKeepsTheAreaInsideFrame1AndMovesItWithTheToolbar) {
    ClientSize size = LayOutMainWindow(window, 600, 315);
    const ui::Bounds frame = window.area.settings_frame.bounds();
    EXPECT_LE(frame.left + frame.width, size.width);
    EXPECT_LE(frame.top + frame.height + 315, size.height);
    auto inside = [&](const ui::Control& c) {
        const ui::Bounds& b = c.bounds();
        return b.left > frame.left && b.top > frame.top &&
               b.left + b.width < frame.left + frame.width &&
               b.top + b.height < frame.top + frame.height;
    };
    TuningView& a = window.area;
    const std::vector<const ui::Control*> framed{&a.connection_type_list,
                                                 &a.optimization_mode[1],
                                                 &a.ttl.frame,
                                                 &a.ttl.value,
                                                 &a.ndi.frame,
                                                 &a.ndi.value,
                                                 &a.general_frame,
                                                 &a.http11_connections,
                                                 &window.cmdApply,
                                                 &window.cmdHelp};
    for (size_t i = 0; i < framed.size(); ++i) {
        EXPECT_TRUE(inside(*framed[i])) << "control " << i << " of the list";
    }
    EXPECT_LT(a.mtu.frame.bounds().left + a.mtu.frame.bounds().width, a.rwin.frame.bounds().left);
    EXPECT_LT(window.cmdApply.bounds().left + window.cmdApply.bounds().width,
              window.cmdPing.bounds().left);

    int help_top = window.cmdHelp.bounds().top;
    window.chrome.ToggleToolbar();
    window.chrome.ToggleToolbar();
    EXPECT_EQ(window.cmdHelp.bounds().top, help_top);
    EXPECT_EQ(window.area.settings_frame.bounds().top, frame.top);
}

}  // namespace
}  // namespace zv::main_window
