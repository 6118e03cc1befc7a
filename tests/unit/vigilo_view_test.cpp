#include "monitor/vigilo_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/menu_outline.h"
#include "fakes/memory_file_system.h"
#include "fakes/monitor_fakes.h"
#include "fakes/recording_launcher.h"
#include "fakes/recording_ui.h"
#include "fakes/scripted_ping_ports.h"

namespace zv::monitor {
namespace {

using monitor::TrayCall;

struct FakeWindow : MonitorWindowPort {
    std::vector<std::string> calls;
    std::uintptr_t Handle() const override { return 0x77; }
    void BringToForeground() override { calls.push_back("foreground"); }
    bool PopupMenu() override {
        calls.push_back("popup");
        return item_chosen;
    }
    bool item_chosen = false;
    void ShowPingDialog() override { calls.push_back("ping dialog"); }
    void ShowHistoryWindow() override { calls.push_back("history"); }
    void ShowResponsivenessWindow() override { calls.push_back("responsiveness"); }
    void MakeOutageReport() override { calls.push_back("report"); }
    void ColoursChanged() override { calls.push_back("colours"); }
    void Unload() override { calls.push_back("unload"); }
};

// Keeps the icon's pictures apart from its tips and balloons.
struct RecordingTray : monitor::TrayPort {
    std::vector<std::pair<TrayCall, int>> calls;  // call and image
    std::vector<std::string> tips;                // each new tip
    std::vector<std::string> balloons;            // "title: text"
    bool large = true;

    void NotifyIcon(TrayCall call, const monitor::TrayIconRecord& record) override {
        std::string tip = record.szTip.data();
        if (record.uFlags & monitor::kTrayBalloon) {
            balloons.push_back(record.szInfoTitle + ": " + record.szInfo);
        } else if (call == TrayCall::Modify && !tips.empty() && tip != tips.back()) {
            tips.push_back(tip);
        } else {
            calls.emplace_back(call, record.hIcon);
            if (tips.empty() || tip != tips.back()) {
                tips.push_back(tip);
            }
        }
    }
    bool HasLargeRecord() const override { return large; }
    bool ReportKeyboard(const monitor::TrayIconRecord&) override { return keyboard; }
    void GiveFocusBack(const monitor::TrayIconRecord&) override { ++focus_given_back; }
    bool keyboard = false;
    int focus_given_back = 0;
    // The images the icon showed, in order, from the add on.
    std::vector<int> Images() const {
        std::vector<int> images;
        for (auto& c : calls) {
            if (c.first != TrayCall::Delete) {
                images.push_back(c.second);
            }
        }
        return images;
    }
};

// Runs each probe over the scripted services when it starts and hands the outcome back at
// once, or, while `hold` is set, when Finish() says the worker is done. A status in
// `next_statuses` is what the next probe's echo alone meets.
struct InlineProbe : ProbePort {
    InlineProbe(ping::SocketsService& s, testing::ScriptedEcho& e, const testing::FakeClock& clock)
        : echo(e), counters(&clock), probe(s, e, counters) {}
    void StartProbe(const std::string& host, int32_t timeout_ms, bool extra) override {
        ++started;
        extras += extra;
        uint32_t usual = echo.status;
        if (!next_statuses.empty()) {
            echo.status = next_statuses.front();
            next_statuses.pop_front();
        }
        ProbeOutcome outcome = extra ? probe.RunExtra(timeout_ms) : probe.Run(host, timeout_ms);
        echo.status = usual;
        if (hold) {
            held = outcome;
        } else {
            deliver(outcome);
        }
    }
    void Finish() {
        ProbeOutcome outcome = *held;
        held.reset();
        deliver(outcome);
    }

    testing::ScriptedEcho& echo;
    testing::MeteredInterface counters;
    ReachabilityProbe probe;
    std::deque<uint32_t> next_statuses;
    std::function<void(const ProbeOutcome&)> deliver;
    bool hold = false;
    int started = 0;
    int extras = 0;
    std::optional<ProbeOutcome> held;
};

constexpr char kDir[] = "C:\\Zv";
constexpr uint32_t kTimedOut = 11010;

class VigiloViewTest : public ::testing::Test {
  protected:
    VigiloViewTest() {
        // The probe host answers on 127.0.0.7; the keep-alive host is a dotted address.
        sockets.AddHost(kProbeHost, {{127, 0, 0, 7}});
        files.files[std::string(kDir) + "\\Ping.cfg"] =
            "PingAutomatic,#FALSE#\r\nPingHost,10.0.0.1\r\nPingInterval,5\r\n"
            "PingSound,#FALSE#\r\n";
        clock.Watch(vigilo.TimerVigilo);
        clock.Watch(vigilo.TimerIcon);
        clock.Watch(vigilo.TimerPing);
        clock.Watch(vigilo.TimerBusy);
        probe.deliver = [this](const ProbeOutcome& outcome) { vigilo.ProbeFinished(outcome); };
        pinger.deliver = [this](const ping::KeepAliveOutcome& outcome) {
            vigilo.KeepAlivePingFinished(outcome);
        };
    }

    // Echo requests of the probe (10 s timeout) and of Ping Now (1 s).
    size_t Requests(int32_t timeout_ms) const {
        size_t n = 0;
        for (const auto& r : echo.requests) {
            n += r.timeout_ms == timeout_ms;
        }
        return n;
    }
    size_t Probes() const { return Requests(10000); }
    size_t PingsNow() const { return Requests(1000); }
    // The launcher's calls of one kind ("open" or "run"), as targets.
    std::vector<std::string> Launched(const std::string& kind) const {
        std::vector<std::string> targets;
        for (const auto& l : launcher.launches) {
            if (l.kind == kind) {
                targets.push_back(l.target);
            }
        }
        return targets;
    }
    size_t Starts() const { return Launched("run").size(); }

    testing::MemoryFileSystem files;
    testing::RecordingMessageBox messages;
    testing::ScriptedSockets sockets;
    testing::ScriptedEcho echo{sockets};
    testing::RecordingSound sound;
    testing::InlinePingWorker pinger{sockets, echo};
    ping::KeepAlivePing ping{{pinger, sound, files, messages}, kDir, "Vigilo"};
    testing::RecordingLauncher launcher;
    launch::Launchers launchers{launcher, kDir};
    RecordingTray tray;
    FakeWindow window;
    testing::FollowingWallClock wall_clock{clock};  // reads the clock only once it runs
    testing::MemoryLogFiles log_files;
    monitor::ProbeLog log{log_files};
    testing::MemoryOptions options;
    InlineProbe probe{sockets, echo, clock};
    VigiloView vigilo{{ping, launchers, tray, messages, window, probe, {wall_clock, log, options}}};
    testing::FakeClock clock;  // after the timers it watches, so it goes first
};

TEST_F(VigiloViewTest, LoadHidesLoadsSettingsArmsTimerPingAddsNotConnectedIconAndProbes) {
    vigilo.frmVigilo.SetVisible(true);
    EXPECT_FALSE(vigilo.TimerPing.running());  // not armed before the settings load
    vigilo.Load();

    EXPECT_FALSE(vigilo.frmVigilo.visible());
    EXPECT_EQ(ping.Settings().PingHost, "10.0.0.1");
    EXPECT_TRUE(vigilo.TimerPing.running());
    ASSERT_FALSE(tray.calls.empty());
    EXPECT_EQ(tray.calls[0], std::make_pair(TrayCall::Add, 5));
    EXPECT_EQ(vigilo.TrayIcon().record().hWnd, 0x77u);
    ASSERT_EQ(echo.requests.size(), 1u);               // the probe, and no keep-alive ping
    EXPECT_EQ(echo.requests[0].address, 0x0700007Fu);  // 127.0.0.7
}

TEST_F(VigiloViewTest, StartWithTheNetworkDownShowsImage5AndNeverAnimates) {
    echo.status = kTimedOut;
    vigilo.Load();
    clock.Advance(95000);

    EXPECT_EQ(vigilo.LinkState(), "Not Connected");
    EXPECT_EQ(Probes(), 4u);  // at load, 30 s, 60 s, 90 s
    for (int image : tray.Images()) {
        EXPECT_EQ(image, 5);
    }
    EXPECT_FALSE(vigilo.TimerIcon.running());
    EXPECT_EQ(vigilo.AnimationFrame(), 0);
}

TEST_F(VigiloViewTest, ConnectedAnimatesFrames1To4Every200msFromTheNextTick) {
    vigilo.Load();
    EXPECT_EQ(vigilo.LinkState(), "Connected");
    EXPECT_EQ(tray.Images(), (std::vector<int>{5}));  // the icon waits for the first tick

    clock.Advance(199);
    EXPECT_EQ(tray.Images(), (std::vector<int>{5}));
    clock.Advance(1);
    EXPECT_EQ(tray.Images(), (std::vector<int>{5, 1}));
    clock.Advance(1000);
    EXPECT_EQ(tray.Images(), (std::vector<int>{5, 1, 2, 3, 4, 1, 2}));
    EXPECT_EQ(vigilo.AnimationFrame(), 2);
}

TEST_F(VigiloViewTest, ProbesSwitchEitherWayAndTheAnimationGoesOnWhereItStopped) {
    vigilo.Load();
    clock.Advance(29900);  // 149 frames: the last shown is frame 1 (149 = 37 * 4 + 1)
    EXPECT_EQ(vigilo.AnimationFrame(), 1);

    echo.status = kTimedOut;
    clock.Advance(100);  // the probe at 30 s fails
    EXPECT_EQ(vigilo.LinkState(), "Not Connected");
    EXPECT_EQ(tray.Images().back(), 5);
    EXPECT_FALSE(vigilo.TimerIcon.running());
    clock.Advance(10000);  // and its confirmation at 40 s
    size_t shown = tray.calls.size();
    clock.Advance(29000);
    EXPECT_EQ(tray.calls.size(), shown);  // image 5 stays while not connected

    echo.status = 0;
    clock.Advance(1000);  // the probe at 70 s answers
    EXPECT_EQ(vigilo.LinkState(), "Connected");
    EXPECT_EQ(tray.Images().back(), 5);
    clock.Advance(600);  // from 200 ms later on, the cycle goes on after frame 1
    std::vector<int> images = tray.Images();
    std::vector<int> tail(images.end() - 4, images.end());
    EXPECT_EQ(tail, (std::vector<int>{5, 2, 3, 4}));
}

TEST_F(VigiloViewTest, TrayMouseCodes) {
    vigilo.Load();
    for (int code : {512, 513, 516, 518, 0}) {
        vigilo.HandleTrayMouse(code);
    }
    EXPECT_EQ(Starts(), 0u);
    EXPECT_TRUE(window.calls.empty());

    // A double click arrives as 514, 515, 514: one start, one elevation prompt.
    for (int code : {514, 515, 514}) {
        vigilo.HandleTrayMouse(code);
    }
    EXPECT_EQ(Starts(), 1u);
    vigilo.HandleTrayMouse(514);
    EXPECT_EQ(Starts(), 2u) << "the next click starts it again";
    EXPECT_TRUE(window.calls.empty());  // the monitor window stays hidden

    vigilo.HandleTrayMouse(517);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"foreground", "popup"}));
}

// With a shell that reports the keyboard: Enter or Space starts the main program, the
// context-menu key opens the menu, and a menu so opened and cancelled hands the focus back.
TEST_F(VigiloViewTest, TrayByKeyboard) {
    struct Case {
        std::vector<int> codes;
        bool item_chosen;
        size_t starts;
        size_t menus;
        int focus_given_back;
    };
    const Case cases[] = {
        {{1025}, false, 1, 0, 0},       // Enter
        {{514, 1024}, false, 1, 0, 0},  // a click, then its selection
        {{517, 123}, false, 0, 1, 0},   // a right click, then its context menu
        {{123}, false, 0, 1, 1},        // the context-menu key, the menu cancelled
        {{123}, true, 0, 1, 0},         // an item chosen
    };
    tray.keyboard = true;
    vigilo.Load();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.codes));
        size_t starts = Starts();
        window.calls.clear();
        window.item_chosen = c.item_chosen;
        tray.focus_given_back = 0;
        for (int code : c.codes) {
            vigilo.HandleTrayMouse(code);
        }
        EXPECT_EQ(Starts() - starts, c.starts);
        EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), "popup"),
                  static_cast<long>(c.menus));
        EXPECT_EQ(tray.focus_given_back, c.focus_given_back);
    }
}

TEST_F(VigiloViewTest, AFailedStartOfTheMainProgramIsReportedOnceAndTheMonitorGoesOn) {
    vigilo.Load();
    launcher.run_result = 2;
    // More clicks arrive while the message is up.
    struct ReentrantBox : ui::MessageBoxPort {
        VigiloView* vigilo = nullptr;
        std::vector<ui::Message> shown;
        ui::MessageAnswer Show(const ui::Message& m) override {
            shown.push_back(m);
            vigilo->HandleTrayMouse(514);
            vigilo->HandleTrayMouse(514);
            return ui::MessageAnswer::Ok;
        }
    };
    ReentrantBox box;
    VigiloView reporting{{ping, launchers, tray, box, window, probe, {wall_clock, log, options}}};
    box.vigilo = &reporting;
    reporting.HandleTrayMouse(514);

    EXPECT_EQ(Starts(), 3u);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].caption, "Vigilo");
    EXPECT_NE(box.shown[0].text.find("C:\\Zv\\Zorvane.exe"), std::string::npos);
    EXPECT_EQ(box.shown[0].icon, ui::MessageIcon::Exclamation);

    reporting.HandleTrayMouse(514);  // a later click is reported again
    EXPECT_EQ(box.shown.size(), 2u);

    launcher.run_result = 1223;  // the user declined the elevation prompt
    box.shown.clear();
    reporting.HandleTrayMouse(514);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(VigiloViewTest, PopupMenuHoldsEveryItemInOrderWithItsCommand) {
    EXPECT_EQ(testing::Outline(vigilo.popup),
              "Zorvane 101\n"
              "Ping Configuration 102\n"
              "Ping Now 103\n"
              "-\n"
              "Contact us\n"
              "  Visit out web site 104\n"
              "  Email us 105\n"
              "-\n"
              "User's Guide 106\n"
              "-\n"
              "Connection History... 109\n"
              "Outage Report... 111\n"
              "Test Responsiveness... 110\n"
              "Use System Colours 112\n"
              "Disable 107\n"
              "-\n"
              "Exit 108\n");
}

TEST_F(VigiloViewTest, MenuItemsRunTheirCommands) {
    using namespace vigilo_menu;
    vigilo.Load();
    for (int command :
         {menu_zorvane, menu_ping_configuration, menu_ping_now, menu_history, menu_outage_report,
          menu_test_responsiveness, menu_web_site, menu_email, menu_help}) {
        EXPECT_TRUE(vigilo.popup.Choose(command)) << command;
    }

    EXPECT_EQ(Starts(), 1u);
    EXPECT_EQ(PingsNow(), 1u);
    EXPECT_EQ(Launched("open"),
              (std::vector<std::string>{"http://www.zorvane.com/index.php",
                                        "http://www.zorvane.com/resources/feedback.php",
                                        "C:\\Zv\\Help\\help.htm"}));
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"ping dialog", "history", "report", "responsiveness"}));

    vigilo.popup.Choose(menu_exit);
    EXPECT_EQ(window.calls.back(), "unload");
}

// A written report is a notice, as it opens in the browser; anything else waits for the user.
// A second request while one is written is a notice too.
TEST_F(VigiloViewTest, AReportDoneIsANoticeAndAnyOtherOutcomeAMessage) {
    vigilo.Load();
    vigilo.ReportWritten({ReportResult::Done, "The outage report is in C:\\r.html.", "C:\\r.html"});
    ASSERT_FALSE(tray.balloons.empty());
    EXPECT_EQ(tray.balloons.back(), "Outage Report: The outage report is in C:\\r.html.");
    EXPECT_TRUE(messages.shown.empty());
    for (ReportResult result :
         {ReportResult::PartlyDone, ReportResult::Refused, ReportResult::Failed}) {
        vigilo.ReportWritten({result, "told", ""});
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_EQ(messages.shown.back().text, "told");
        EXPECT_EQ(messages.shown.back().icon, result == ReportResult::Refused
                                                  ? ui::MessageIcon::Information
                                                  : ui::MessageIcon::Exclamation);
    }
    EXPECT_EQ(tray.balloons.size(), 1u);
    vigilo.ReportStillBeingMade();
    EXPECT_EQ(tray.balloons.back(),
              "Outage Report: The outage report asked for before is still being made; it opens "
              "when it is ready.");
}

// The choice is kept with the other options and read back at the next start.
TEST_F(VigiloViewTest, SystemColoursAreKeptCheckedAndTellTheWindows) {
    vigilo.Load();
    EXPECT_FALSE(vigilo.popup.checked(vigilo_menu::menu_system_colours));
    vigilo.popup.Choose(vigilo_menu::menu_system_colours);
    EXPECT_TRUE(vigilo.popup.checked(vigilo_menu::menu_system_colours));
    EXPECT_EQ(options.values["SystemColours"], 1u);
    EXPECT_EQ(window.calls, std::vector<std::string>{"colours"});
    // The icon is shown again in the colours now chosen, with the picture it had.
    ASSERT_FALSE(tray.calls.empty());
    EXPECT_EQ(tray.calls.back(), std::make_pair(TrayCall::Modify, kNotConnectedImage));

    VigiloView next{{ping, launchers, tray, messages, window, probe, {wall_clock, log, options}}};
    next.Load();
    EXPECT_TRUE(next.popup.checked(vigilo_menu::menu_system_colours));
    next.popup.Choose(vigilo_menu::menu_system_colours);
    EXPECT_EQ(options.values["SystemColours"], 0u);
}

TEST_F(VigiloViewTest, DisableStopsTimerPingWithOneMessageAndEnableRestartsIt) {
    vigilo.Load();
    clock.Advance(120000);
    EXPECT_EQ(ping.PingTickCount(), 2);

    vigilo.popup.Choose(vigilo_menu::menu_disable);
    EXPECT_EQ(vigilo.popup.caption(vigilo_menu::menu_disable), "Enable");
    EXPECT_FALSE(vigilo.TimerPing.running());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Vigilo");
    EXPECT_EQ(messages.shown[0].icon, ui::MessageIcon::Information);
    EXPECT_EQ(messages.shown[0].buttons, ui::MessageButtons::Ok);
    EXPECT_EQ(messages.shown[0].text, monitor::PingDisabledMessage());
    clock.Advance(180000);
    EXPECT_EQ(ping.PingTickCount(), 2);

    vigilo.popup.Choose(vigilo_menu::menu_disable);
    EXPECT_EQ(vigilo.popup.caption(vigilo_menu::menu_disable), "Disable");
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(ping.PingTickCount(), 0);
    clock.Advance(59999);
    EXPECT_EQ(ping.PingTickCount(), 0);  // a full minute from the Enable
    clock.Advance(1);
    EXPECT_EQ(ping.PingTickCount(), 1);

    // Probing and animation are not the ping utility: they go on meanwhile.
    EXPECT_TRUE(vigilo.TimerVigilo.running());
    EXPECT_TRUE(vigilo.TimerIcon.running());
}

// The ping dialog loads the settings each time it opens, Cancel or not.
TEST_F(VigiloViewTest, OpeningThePingDialogAfterDisableSendsNoKeepAlivePings) {
    vigilo.Load();
    vigilo.ToggleDisable();
    ping.LoadPingSettings();
    EXPECT_FALSE(vigilo.TimerPing.running());
    clock.Advance(11 * 60000);
    EXPECT_EQ(PingsNow(), 0u);
    EXPECT_EQ(vigilo.popup.caption(vigilo_menu::menu_disable), "Enable");

    vigilo.ToggleDisable();
    ping.LoadPingSettings();
    EXPECT_TRUE(vigilo.TimerPing.running());
    clock.Advance(5 * 60000);  // the file's interval
    EXPECT_EQ(PingsNow(), 1u);
}

TEST_F(VigiloViewTest, ARestartedShellGetsTheIconBackAsItWasAndUnloadRemovesIt) {
    vigilo.Load();
    clock.Advance(600);  // frame 3 showing
    std::string tip = tray.tips.back();
    vigilo.ShellRestarted();
    EXPECT_EQ(tray.calls.back(), std::make_pair(TrayCall::Add, 3));
    EXPECT_EQ(vigilo.TrayIcon().record().uID, 1u);
    EXPECT_EQ(tray.tips.back(), tip);
    clock.Advance(200);
    EXPECT_EQ(tray.calls.back(), std::make_pair(TrayCall::Modify, 4));

    vigilo.QueryUnload();
    EXPECT_EQ(tray.calls.back().first, TrayCall::Delete);
    EXPECT_EQ(vigilo.TrayIcon().record().hWnd, 0x77u);
}

// The link drops at 30 s, which a second probe confirms 10 s later, and is back at 190 s;
// the notices go out once per change and both lost probes count.
TEST_F(VigiloViewTest, ProbesAreMeasuredAndTheTipAndNoticesFollowTheLink) {
    echo.round_trip_ms = 23;
    vigilo.Load();
    EXPECT_EQ(tray.tips,
              (std::vector<std::string>{"Zorvane",
                                        "Zorvane - connected, 23 ms, loss 0% (10 min) 0% (1 h), "
                                        "95th percentile 23 ms"}));
    echo.status = kTimedOut;
    clock.Advance(180000);
    echo.status = 0;
    echo.round_trip_ms = 31;
    clock.Advance(30000);

    EXPECT_EQ(tray.tips.back(),
              "Zorvane - connected, 31 ms, loss 75% (10 min) 75% (1 h), "
              "jitter 8 ms, 95th percentile 31 ms");
    // The scripted network has no gateway on the route: the trouble is in the user's own.
    EXPECT_NE(std::find(tray.tips.begin(), tray.tips.end(),
                        "Zorvane - not connected since 13:00 (your network)"),
              tray.tips.end());
    EXPECT_EQ(tray.balloons, (std::vector<std::string>{"Zorvane: Connection lost (your network)",
                                                       "Zorvane: Connection back after 3 min"}));
    const ProbeHistory& history = vigilo.Monitor().History();
    ASSERT_EQ(history.size(), 8u);
    EXPECT_EQ(history.at(0).time.utc_ms, testing::kClockStartMs);
    EXPECT_EQ(history.at(0).round_trip_ms, 23);
    EXPECT_TRUE(history.at(1).lost() && history.at(2).lost());
    EXPECT_TRUE(messages.shown.empty());
}

// The record read back at start counts in the tip at once, before the probes of the run,
// and a record kept aside is told in one balloon.
TEST_F(VigiloViewTest, TheRecordReadBackCountsInTheTipAndARecordKeptAsideIsToldOnce) {
    echo.round_trip_ms = 23;
    vigilo.Load();
    Moment now = vigilo.Monitor().Now();
    Probe before{{now.wall.utc_ms - 60000, now.wall.offset_min}, kLost, now.tick_ms - 60000};
    vigilo.Restored({before}, "The probe record is damaged.");
    EXPECT_EQ(tray.tips.back(),
              "Zorvane - connected, 23 ms, loss 50% (10 min) 50% (1 h), 95th percentile 23 ms");
    EXPECT_EQ(tray.balloons, std::vector<std::string>{"Vigilo: The probe record is damaged."});
    EXPECT_EQ(vigilo.Monitor().History().at(0).tick_ms, now.tick_ms - 60000);
}

// A first loss is checked by a second probe 5 s after it ended, and no sooner than the echo
// timeout after it went out: a roam that fails both at once would confirm itself.
TEST_F(VigiloViewTest, OneLostEchoIsCheckedAfterItsTimeAndGivesNoNotice) {
    vigilo.Load();
    probe.hold = true;
    for (auto [ended_after_ms, confirmed_after_ms] :
         {std::pair{0, 10000}, {3000, 10000}, {12000, 17000}}) {
        SCOPED_TRACE("the first loss ended " + std::to_string(ended_after_ms) + " ms after it");
        probe.next_statuses = {kTimedOut};
        clock.Advance(30000);  // the next probe goes out, and its echo is lost
        int started = probe.started;
        clock.Advance(ended_after_ms);
        probe.Finish();
        clock.Advance(confirmed_after_ms - ended_after_ms - 1);
        EXPECT_EQ(probe.started, started);
        clock.Advance(1);
        EXPECT_EQ(probe.started, started + 1);
        probe.Finish();
        EXPECT_EQ(vigilo.LinkState(), "Connected");
    }
    EXPECT_EQ(vigilo.Monitor().History().size(), 7u);
    EXPECT_TRUE(tray.balloons.empty());
}

// The window's thread only starts the probe; ticks while it is under way start no other,
// and the outcome is kept with the time the probe went out.
TEST_F(VigiloViewTest, AProbeUnderWayIsWaitedForAndRecordedWhenItWentOut) {
    probe.hold = true;
    vigilo.Load();
    EXPECT_EQ(probe.started, 1);
    EXPECT_TRUE(vigilo.Monitor().History().size() == 0 && tray.tips.back() == "Zorvane");
    clock.Advance(30000);
    EXPECT_EQ(probe.started, 1);
    probe.Finish();
    ASSERT_EQ(vigilo.Monitor().History().size(), 1u);
    EXPECT_EQ(vigilo.Monitor().History().at(0).tick_ms, testing::kClockStartMs);
    EXPECT_EQ(vigilo.LinkState(), "Connected");
    clock.Advance(30000);
    EXPECT_EQ(probe.started, 2);
}

// A probe that never comes back (a resolver hanging in the worker): after two periods the
// icon stops, the tip says since when nothing came back, and a fresh probe goes out.
TEST_F(VigiloViewTest, AProbeThatNeverComesBackIsGivenUpAfterTwoPeriods) {
    vigilo.Load();
    probe.hold = true;
    clock.Advance(60000);  // the probe of 13:00:30 is one period old
    EXPECT_EQ(probe.started, 2);
    EXPECT_EQ(vigilo.LinkState(), "Connected");
    for (int period = 1; period <= 2; ++period) {
        SCOPED_TRACE("given up " + std::to_string(period) + " times");
        clock.Advance(30000 * period);
        EXPECT_EQ(probe.started, 2 + period);
        EXPECT_EQ(vigilo.LinkState(), "Unknown");
        EXPECT_FALSE(vigilo.TimerIcon.enabled());
        EXPECT_EQ(tray.tips.back(), "Zorvane - no answer from the probe since 13:00");
    }
    probe.Finish();
    EXPECT_EQ(vigilo.LinkState(), "Connected");
    EXPECT_EQ(vigilo.Monitor().History().size(), 2u);
    EXPECT_EQ(tray.tips.back().rfind("Zorvane - connected", 0), 0u) << tray.tips.back();
}

// The keep-alive ping meets the failure at every interval, as the probe does: each says it
// once, in a balloon, and no box comes up.
TEST_F(VigiloViewTest, AWindowsSocketsFailureOfTheKeepAlivePingIsToldOnce) {
    vigilo.Load();
    sockets.startup.result = 10091;  // WSASYSNOTREADY
    clock.Advance(10 * 60000);
    EXPECT_EQ(pinger.hosts.size(), 2u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(std::count(tray.balloons.begin(), tray.balloons.end(),
                         "Vigilo: Windows Sockets for 32 bit Windows environments is not "
                         "successfully responding."),
              2)
        << "one from the probe, one from the keep-alive ping";
}

TEST_F(VigiloViewTest, AfterWakingTheNextProbeWaits15Seconds) {
    vigilo.Load();
    clock.Advance(20000);
    vigilo.Resumed();
    for (auto [wait_ms, probes] : {std::pair{14999, 1u}, {1, 2u}, {29999, 2u}, {1, 3u}}) {
        clock.Advance(wait_ms);
        EXPECT_EQ(Probes(), probes) << "at " << clock.now() << " ms";
    }
}

// Sleep as Windows tells of it (PBT_APMSUSPEND before, PBT_APMRESUMEAUTOMATIC after,
// learn.microsoft.com "WM_POWERBROADCAST message"; a critical suspend sends nothing
// before). Wine cannot sleep, so the scripts stand in: "+N" N ms pass, "hold" keeps each
// probe's outcome until "finish", "lose" loses the next probe's echo.
struct SleepCase {
    const char* context;
    const char* script;
    int started;
    size_t recorded;
    bool asleep;  // the probe and keep-alive timers stopped
};

void PrintTo(const SleepCase& c, std::ostream* out) {
    *out << c.context << " (" << c.script << ")";
}

class VigiloSleepTest : public VigiloViewTest, public ::testing::WithParamInterface<SleepCase> {};

TEST_P(VigiloSleepTest, TheProbeUnderWayCountsForNothingAndTheWakeIsWaitedFor) {
    const SleepCase& c = GetParam();
    vigilo.Load();
    std::istringstream steps(c.script);
    for (std::string step; steps >> step;) {
        if (step[0] == '+') {
            clock.Advance(std::stol(step.substr(1)));
        } else if (step == "hold") {
            probe.hold = true;
        } else if (step == "lose") {
            probe.next_statuses.push_back(kTimedOut);
        } else if (step == "finish") {
            probe.Finish();
        } else {
            step == "suspend" ? vigilo.Suspended() : vigilo.Resumed();
        }
    }
    EXPECT_EQ(probe.started, c.started);
    EXPECT_EQ(vigilo.Monitor().History().size(), c.recorded);
    EXPECT_EQ(vigilo.TimerVigilo.running() || vigilo.TimerPing.running(), !c.asleep);
}

INSTANTIATE_TEST_SUITE_P(
    Sleep, VigiloSleepTest,
    ::testing::Values(
        SleepCase{"a probe under way at suspend is not recorded, and nothing runs asleep",
                  "hold +30000 suspend +600000 finish", 2, 1, true},
        SleepCase{"after the wake the first probe waits 15 s", "suspend +600000 resume +14999", 1,
                  1, false},
        SleepCase{"a loss's confirmation waits for the wake too",
                  "lose +30000 suspend +600000 resume +14999", 2, 2, false},
        SleepCase{"and then goes", "lose +30000 suspend +600000 resume +15000", 3, 3, false},
        SleepCase{"a wake with no suspend before it voids the probe under way",
                  "hold +30000 resume finish +15000", 3, 1, false},
        SleepCase{"a void probe still out when the wake's wait ends: the next goes once it is back",
                  "hold +30000 suspend +600000 resume +20000 finish", 3, 1, false},
        SleepCase{"a void probe that never comes back is given up two periods after the wake",
                  "hold +30000 suspend +600000 resume +75000", 3, 1, false}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(VigiloViewTest, AWindowsSocketsFailureIsALossToldOnceWithoutAMessageBox) {
    vigilo.Load();
    sockets.startup.result = 10091;  // WSASYSNOTREADY
    clock.Advance(60000);
    EXPECT_EQ(vigilo.LinkState(), "Not Connected");
    EXPECT_EQ(vigilo.Monitor().History().size(), 3u);  // with the loss's second probe
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(tray.balloons,
              (std::vector<std::string>{"Vigilo: Windows Sockets for 32 bit Windows environments "
                                        "is not successfully responding.",
                                        "Zorvane: Connection lost"}));
}

TEST_F(VigiloViewTest, NoBalloonWhenNoticesAreOffOrTheShellHasNone) {
    for (bool large_record : {true, false}) {
        SCOPED_TRACE(large_record ? "notices off" : "shell without balloons");
        options.values["Notices"] = large_record ? 0 : 1;
        tray.large = large_record;
        VigiloView companion{
            {ping, launchers, tray, messages, window, probe, {wall_clock, log, options}}};
        probe.deliver = [&](const ProbeOutcome& outcome) { companion.ProbeFinished(outcome); };
        companion.Load();
        echo.status = kTimedOut;
        companion.ProbeReachability();
        companion.ProbeReachability();  // the confirmation, due on a timer no clock runs here
        EXPECT_EQ(companion.Monitor().Notice().text,
                  large_record ? "" : "Connection lost (your network)");
        EXPECT_TRUE(tray.balloons.empty());
        echo.status = 0;
    }
}

// A stored host that cannot be probed is named once, at start, and the default probed.
TEST_F(VigiloViewTest, AStoredHostThatCannotBeProbedIsToldOnceAndTheDefaultProbed) {
    options.texts["ProbeHost"] = "127.0.0.1";
    VigiloView companion{
        {ping, launchers, tray, messages, window, probe, {wall_clock, log, options}}};
    probe.deliver = [&](const ProbeOutcome& outcome) { companion.ProbeFinished(outcome); };
    companion.Load();
    clock.Advance(60000);
    EXPECT_EQ(tray.balloons, std::vector<std::string>{
                                 "Vigilo: The stored probe host \"127.0.0.1\" cannot be probed: it "
                                 "is this computer, which always answers. Vigilo probes "
                                 "www.wikipedia.org instead."});
    ASSERT_FALSE(echo.requests.empty());
    EXPECT_EQ(echo.requests[0].address, 0x0700007Fu);  // the default's 127.0.0.7
}

// The link is idle for the first three probes after the one at load, then a download fills
// it from 90 s (each probe measures the rate since the one before).
class BusyLinkTest : public VigiloViewTest {
  protected:
    void LoadAndFillTheLinkAt90s(int32_t idle_ms = 20, int32_t busy_ms = 20) {
        echo.round_trip_ms = static_cast<uint32_t>(idle_ms);
        vigilo.Load();
        clock.Advance(90000);
        probe.counters.receive_bps = 10000000;
        echo.round_trip_ms = static_cast<uint32_t>(busy_ms);
    }
    const ProbeHistory& Extras() { return vigilo.Monitor().Extras(); }
};

// Extra probes go every 5 s from the first probe that found the link busy until one finds
// it idle again; a regular probe that falls due while an extra one is out waits for it.
TEST_F(BusyLinkTest, ExtraProbesEvery5sWhileTheLinkIsBusy) {
    LoadAndFillTheLinkAt90s();
    EXPECT_EQ(probe.extras, 0);
    clock.Advance(30000);  // the probe at 120 s finds the link busy
    EXPECT_TRUE(vigilo.TimerBusy.running());
    clock.Advance(24999);
    EXPECT_EQ(probe.extras, 4);  // 125 to 140 s
    probe.hold = true;
    clock.Advance(5001);  // the extra probe of 145 s is still out at 150 s
    EXPECT_EQ(probe.started, 5 + 5);
    probe.Finish();  // the extra one, and the regular one goes
    EXPECT_EQ(probe.started, 5 + 6);
    probe.Finish();
    probe.hold = false;
    probe.counters.receive_bps = 0;
    clock.Advance(60000);
    EXPECT_EQ(probe.extras, 6);  // at 155 s the link was idle again
    EXPECT_FALSE(vigilo.TimerBusy.running());
    ASSERT_EQ(Extras().size(), 6u);
    EXPECT_TRUE(Extras().at(0).extra && Extras().at(0).load.busy);
    EXPECT_EQ(Extras().at(0).tick_ms - testing::kClockStartMs, 125000);
    EXPECT_FALSE(Extras().at(5).load.busy);
    EXPECT_EQ(vigilo.Monitor().History().size(), 8u);  // 0 to 210 s, every 30 s
    EXPECT_EQ(vigilo.Monitor().History().at(5).tick_ms - testing::kClockStartMs, 150000);
    EXPECT_EQ(Summarize(vigilo.Monitor().History(), 0, INT64_MAX).probes, 8);
}

// Lost extra echoes on a busy link are a sample of it, not an outage: the link stays
// connected, no confirmation is sought and no notice goes out.
TEST_F(BusyLinkTest, LostExtraProbesChangeNothingOfTheLink) {
    LoadAndFillTheLinkAt90s();
    clock.Advance(30000);
    probe.next_statuses = {kTimedOut, kTimedOut, kTimedOut, kTimedOut};
    size_t images = tray.Images().size();
    clock.Advance(20000);
    EXPECT_EQ(probe.extras, 4);
    EXPECT_TRUE(Extras().at(0).lost() && Extras().at(3).lost());
    EXPECT_EQ(vigilo.LinkState(), "Connected");
    EXPECT_TRUE(tray.balloons.empty());
    EXPECT_EQ(Summarize(vigilo.Monitor().History(), 0, INT64_MAX).lost, 0);
    std::vector<int> shown = tray.Images();
    EXPECT_EQ(std::count(shown.begin() + static_cast<long>(images), shown.end(), 5), 0);
    EXPECT_TRUE(vigilo.TimerBusy.running());

    // Reached by TCP alone, the host answers no echo: the extra probes would only be lost.
    echo.status = kTimedOut;
    sockets.connect_ms = 30;
    clock.Advance(10000);
    EXPECT_EQ(vigilo.Monitor().History().Latest()->via_tcp, true);
    int extras = probe.extras;
    clock.Advance(25000);
    EXPECT_EQ(probe.extras, extras);
}

// A link busy for 70 minutes: never more than 360 extra probes in any hour.
TEST_F(BusyLinkTest, AtMost360ExtraProbesAnHour) {
    LoadAndFillTheLinkAt90s();
    clock.Advance(70 * 60000);  // the first extra probes fall out of the hour
    ASSERT_GT(Extras().size(), 360u);
    for (std::size_t i = 0; i + 360 < Extras().size(); ++i) {
        EXPECT_GE(Extras().at(i + 360).tick_ms - Extras().at(i).tick_ms, 3600000)
            << "extra probe " << i;
    }
}

// A verdict of bufferbloat is in the tip once 20 busy samples stand (three idle ones stood
// from 90 s); its notice waits until the user chooses it, and is told once.
TEST_F(BusyLinkTest, TheVerdictInTheTipAndItsNoticeOnlyWhenChosen) {
    LoadAndFillTheLinkAt90s(20, 420);
    clock.Advance(30000 + 19 * 5000 - 1);
    EXPECT_EQ(tray.tips.back().find("busy +"), std::string::npos) << tray.tips.back();
    clock.Advance(1);
    const std::string verdict = ", busy +400 ms (F)";
    ASSERT_GT(tray.tips.back().size(), verdict.size());
    EXPECT_EQ(tray.tips.back().substr(tray.tips.back().size() - verdict.size()), verdict);
    clock.Advance(600000);
    EXPECT_TRUE(tray.balloons.empty());

    vigilo.Monitor().Options().bloat_notice = true;
    clock.Advance(30000);
    EXPECT_EQ(
        tray.balloons,
        (std::vector<std::string>{
            "Zorvane: Latency rises by 400 ms when your link is busy (bufferbloat), grade F"}));
    clock.Advance(600000);
    EXPECT_EQ(tray.balloons.size(), 1u);
}

}  // namespace
}  // namespace zv::monitor
