// Ping Now on its worker, the ping sound and the TimerPing tick, over scripted services.
#include <gtest/gtest.h>

#include "fakes/program_texts.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_ui.h"
#include "fakes/scripted_ping_ports.h"
#include "ping/keep_alive_ping.h"

namespace zv::ping {
namespace {

using namespace zv::testing;

class KeepAlivePingTest : public ::testing::Test {
  protected:
    KeepAlivePingTest() {
        files.files["C:\\Zv\\Ping.wav"] = "RIFF";
        ping.Settings() = PingSettings{false, "127.0.0.1", "3", true};
        worker.deliver = [this](const KeepAliveOutcome&) { ping.PingFinished(); };
    }

    ScriptedSockets sockets;
    ScriptedEcho echo{sockets};
    RecordingSound sound;
    MemoryFileSystem files;
    RecordingMessageBox messages;
    InlinePingWorker worker{sockets, echo};
    KeepAlivePing ping{{worker, sound, files, messages}, "C:\\Zv", "Vigilo"};
};

// The ping goes to the worker and Ping Now returns; a second one while it is under way
// starts nothing, and the sound waits for the outcome.
TEST_F(KeepAlivePingTest, PingNowRunsOnTheWorkerAndSoundsWhenItComesBack) {
    worker.deliver = nullptr;
    ping.PingNow();
    ping.PingNow();
    EXPECT_EQ(worker.hosts, std::vector<std::string>{"127.0.0.1"});
    ASSERT_EQ(echo.requests.size(), 1u);
    EXPECT_EQ(echo.requests[0].timeout_ms, 1000);
    EXPECT_TRUE(sound.played.empty());
    ping.PingFinished();
    EXPECT_EQ(sound.played, std::vector<std::string>{"C:\\Zv\\Ping.wav"});
    ping.PingNow();
    EXPECT_EQ(worker.hosts.size(), 2u);
}

// Every interval the count comes round, a ping goes out: one that never came back is
// given up rather than holding back the pings for good.
TEST_F(KeepAlivePingTest, APingThatNeverComesBackDoesNotStopTheTicks) {
    worker.deliver = nullptr;
    for (int i = 0; i < 6; ++i) {
        ping.TimerTick();
    }
    EXPECT_EQ(worker.hosts.size(), 2u);
}

// A Windows Sockets failure comes back as the outcome's problem; nothing is shown from the
// worker, whose box would stack up at every interval.
TEST_F(KeepAlivePingTest, AWindowsSocketsFailureIsKeptNotShown) {
    sockets.startup.result = 10091;
    KeepAliveOutcome outcome = PingQuietly(sockets, echo, "127.0.0.1", 1000);
    EXPECT_FALSE(outcome.answered);
    EXPECT_EQ(outcome.problem,
              "Windows Sockets for 32 bit Windows environments is not successfully responding.");
    EXPECT_TRUE(messages.shown.empty());
    sockets.startup.result = 0;
    EXPECT_EQ(PingQuietly(sockets, echo, "127.0.0.1", 1000).problem, "");
}

TEST_F(KeepAlivePingTest, SoundPlaysWhateverThePingGave) {
    echo.status = 11010;
    ping.PingNow();
    ping.Settings().PingHost = "  ";
    ping.PingNow();
    EXPECT_EQ(sound.played.size(), 2u);
    EXPECT_EQ(echo.requests.size(), 1u);
}

TEST_F(KeepAlivePingTest, NoSoundWhenNotChosenOrNoFile) {
    ping.Settings().PingSound = false;
    ping.PingNow();
    ping.Settings().PingSound = true;
    files.files.erase("C:\\Zv\\Ping.wav");
    ping.PingNow();
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KeepAlivePingTest, TickPingsOncePerIntervalAndCountsAgain) {
    std::vector<size_t> requests_after_tick;
    for (int i = 0; i < 7; ++i) {
        ping.TimerTick();
        requests_after_tick.push_back(echo.requests.size());
    }
    EXPECT_EQ(requests_after_tick, (std::vector<size_t>{0, 0, 1, 1, 1, 2, 2}));
    EXPECT_EQ(ping.PingTickCount(), 1);
    EXPECT_EQ(sound.played.size(), 2u);
}

TEST_F(KeepAlivePingTest, TickFollowsTheCurrentInterval) {
    ping.TimerTick();
    ping.Settings().PingInterval = "1";
    ping.TimerTick();
    ping.TimerTick();
    EXPECT_EQ(echo.requests.size(), 2u);
}

TEST_F(KeepAlivePingTest, TicksBeforeAnyLoadUseTheDefaultInterval) {
    ping.Settings() = PingSettings{};
    ping.Settings().PingHost = "127.0.0.1";
    for (int i = 0; i < 4; ++i) {
        ping.TimerTick();
    }
    EXPECT_TRUE(echo.requests.empty());
    ping.TimerTick();
    EXPECT_EQ(echo.requests.size(), 1u);
}

TEST_F(KeepAlivePingTest, LoadStartsTheCountAgainBeforeArmingTheTimer) {
    files.files["C:\\Zv\\Ping.cfg"] = test_texts::PingFile(false, "127.0.0.9", 3, false);
    std::vector<int16_t> count_when_armed;
    ping.OnSettingsLoaded([&] { count_when_armed.push_back(ping.PingTickCount()); });
    ping.TimerTick();
    ping.TimerTick();
    ping.LoadPingSettings();
    EXPECT_EQ(count_when_armed, std::vector<int16_t>{0});
    ping.TimerTick();
    ping.TimerTick();
    EXPECT_TRUE(echo.requests.empty());
    ping.TimerTick();
    ASSERT_EQ(echo.requests.size(), 1u);
    EXPECT_EQ(echo.requests[0].address, 0x0900007Fu);
}

TEST_F(KeepAlivePingTest, FailedSaveNamesTheFileAndKeepsTheValues) {
    files.writes_fail = true;
    ping.SavePingSettings();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("C:\\Zv\\Ping.cfg"), std::string::npos);
    EXPECT_EQ(messages.shown[0].caption, "Vigilo");
    EXPECT_EQ(ping.Settings().PingHost, "127.0.0.1");
}

}  // namespace
}  // namespace zv::ping
