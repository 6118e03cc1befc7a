// Ping Now, the ping sound and the TimerPing tick, over scripted services.
#include <gtest/gtest.h>

#include "fakes/program_texts.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_ui.h"
#include "fakes/scripted_ping_ports.h"
#include "ping/keep_alive_ping.h"

namespace zv::ping {
namespace {

using namespace zv::testing;

// Notes, at each run, how many requests had gone out and sounds had played.
class SnapshotPump : public ui::EventPump {
  public:
    SnapshotPump(const ScriptedEcho& echo, const RecordingSound& sound)
        : echo_(echo), sound_(sound) {}
    std::vector<std::pair<size_t, size_t>> snapshots;
    void DoEvents() override {
        snapshots.emplace_back(echo_.requests.size(), sound_.played.size());
    }

  private:
    const ScriptedEcho& echo_;
    const RecordingSound& sound_;
};

class KeepAlivePingTest : public ::testing::Test {
  protected:
    KeepAlivePingTest() {
        files.files["C:\\Zv\\Ping.wav"] = "RIFF";
        ping.Settings() = PingSettings{false, "127.0.0.1", "3", true};
    }

    ScriptedSockets sockets;
    ScriptedEcho echo{sockets};
    RecordingSound sound;
    MemoryFileSystem files;
    RecordingMessageBox messages;
    SnapshotPump pump{echo, sound};
    KeepAlivePing ping{{sockets, echo, sound, files, messages, pump}, "C:\\Zv", "Vigilo"};
};

TEST_F(KeepAlivePingTest, PingNowLetsMessagesRunAroundThePingThenSounds) {
    ping.PingNow();
    ASSERT_EQ(echo.requests.size(), 1u);
    EXPECT_EQ(echo.requests[0].timeout_ms, 1000);
    EXPECT_EQ(pump.snapshots, (std::vector<std::pair<size_t, size_t>>{{0, 0}, {0, 0}, {1, 0}}));
    EXPECT_EQ(sound.played, std::vector<std::string>{"C:\\Zv\\Ping.wav"});
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
    EXPECT_EQ(sound.played.size(), 2u);  // the whole Ping Now, sound included
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
