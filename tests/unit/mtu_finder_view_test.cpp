// The Find Largest MTU dialog's controller over a recording runner: what each stage of a
// search shows and allows, cancel, and the MTU handed back by "Use in Manual Mode" (only
// for a size found and confirmed).
#include <gtest/gtest.h>

#include "fakes/recording_ui.h"
#include "ping/mtu_finder_view.h"

namespace zv::ping {
namespace {

class RecordingRunner : public MtuSearchRunner {
  public:
    std::vector<std::string> started;
    int cancels = 0;
    void Start(const std::string& host) override { started.push_back(host); }
    void Cancel() override { ++cancels; }
    std::vector<std::pair<uint32_t, int>> adapter_changes;
    void UseForAdapter(uint32_t address, int mtu) override {
        adapter_changes.emplace_back(address, mtu);
    }
};

class MtuFinderViewTest : public ::testing::Test {
  protected:
    RecordingRunner runner;
    testing::RecordingMessageBox messages;
    MtuFinderView dialog{runner, messages, "www.wikipedia.org"};
    std::vector<int> progress;
    int unloads = 0;

    void SetUp() override {
        dialog.show_progress = [this](int echoes) { progress.push_back(echoes); };
        dialog.on_unload = [this] { ++unloads; };
    }

    void Finish(MtuOutcome outcome, int mtu = 0) {
        MtuSearchResult result;
        result.outcome = outcome;
        result.mtu = mtu;
        result.address = 0x0600007F;
        dialog.OnFinished(result);
    }

    void ExpectIdle(bool can_use) {
        EXPECT_FALSE(dialog.searching());
        EXPECT_TRUE(dialog.fldHost.box.enabled());
        EXPECT_TRUE(dialog.cmdFind.enabled());
        EXPECT_EQ(dialog.cmdUse.enabled(), can_use);
        EXPECT_EQ(dialog.cmdAdapter.enabled(), can_use);
        EXPECT_EQ(dialog.cmdCancel.caption(), "Close");
    }
};

TEST_F(MtuFinderViewTest, OneSearchAtATimeAndUseOffersOnlyTheLastAnswer) {
    EXPECT_EQ(dialog.fldHost.box.text(), "www.wikipedia.org");
    ExpectIdle(false);
    dialog.fldHost.box.SetText("mtu.example");
    dialog.cmdFind.Click();
    dialog.cmdFind.Click();  // Enter while it runs starts nothing more
    EXPECT_EQ(runner.started, std::vector<std::string>{"mtu.example"});
    EXPECT_FALSE(dialog.fldHost.box.enabled());
    EXPECT_EQ(dialog.cmdCancel.caption(), "Cancel");
    dialog.OnEcho(8, 1038);
    EXPECT_EQ(dialog.lblStatus.caption(), "Trying MTU 1038...");
    Finish(MtuOutcome::Found, 1400);
    EXPECT_EQ(progress, (std::vector<int>{0, 8, 100}));
    ExpectIdle(true);

    dialog.cmdFind.Click();
    EXPECT_FALSE(dialog.cmdUse.enabled());  // not while the next search runs
    Finish(MtuOutcome::Found, 1492);
    dialog.cmdUse.Click();
    EXPECT_EQ(dialog.chosen_mtu(), 1492);
    EXPECT_EQ(unloads, 1);
}

TEST_F(MtuFinderViewTest, NothingButAConfirmedSizeIsOfferedForManualMode) {
    for (MtuOutcome outcome : {MtuOutcome::BlackHole, MtuOutcome::Uncertain, MtuOutcome::NoReply,
                               MtuOutcome::Cancelled}) {
        dialog.cmdFind.Click();
        Finish(outcome, 1400);
        ExpectIdle(false);
        EXPECT_EQ(progress.back(), 0);
    }
}

TEST_F(MtuFinderViewTest, CancelStopsTheSearchAndClosingDuringOneCancelsItToo) {
    dialog.cmdFind.Click();
    dialog.cmdCancel.Click();
    EXPECT_EQ(runner.cancels, 1);
    EXPECT_EQ(unloads, 0);
    dialog.Close();
    EXPECT_EQ(runner.cancels, 2);
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(dialog.chosen_mtu(), 0);
}

// The change runs on the runner; meanwhile nothing else starts, and its outcome (refused or
// not) is what the dialog shows, which stays open; closed meanwhile, it closes after telling.
TEST_F(MtuFinderViewTest, UseForThisAdapterSetsTheRouteAdapterAndShowsTheOutcome) {
    dialog.cmdFind.Click();
    Finish(MtuOutcome::Found, 1400);
    dialog.cmdAdapter.Click();
    EXPECT_EQ(dialog.lblStatus.caption(), "Setting the adapter's MTU to 1400...");
    EXPECT_FALSE(dialog.cmdFind.enabled());
    dialog.cmdAdapter.Click();
    dialog.cmdFind.Click();
    EXPECT_EQ(runner.adapter_changes, (std::vector<std::pair<uint32_t, int>>{{0x0600007F, 1400}}));
    EXPECT_EQ(runner.started.size(), 1u);
    dialog.OnAdapterSet("IPv4 MTU: Ethernet: refused (netsh exit code 1).");
    EXPECT_EQ(dialog.lblStatus.caption(), "IPv4 MTU: Ethernet: refused (netsh exit code 1).");
    ExpectIdle(true);
    EXPECT_EQ(unloads, 0);
    EXPECT_EQ(dialog.chosen_mtu(), 0);

    // Closed while the next change runs, the dialog waits for it and tells its outcome.
    dialog.cmdAdapter.Click();
    dialog.Close();
    EXPECT_EQ(dialog.lblStatus.caption(),
              "Finishing the change: the window closes when it has ended.");
    EXPECT_EQ(unloads, 0);
    dialog.OnAdapterSet("IPv4 MTU: Ethernet: set to 1400.");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "The change has ended.\r\nIPv4 MTU: Ethernet: set to 1400.");
    EXPECT_EQ(unloads, 1);
}

TEST_F(MtuFinderViewTest, ABlankHostIsNotSearched) {
    dialog.fldHost.box.SetText("  ");
    dialog.cmdFind.Click();
    EXPECT_TRUE(runner.started.empty());
    EXPECT_EQ(dialog.lblStatus.caption(), "Enter a host to test.");
    ExpectIdle(false);
}

}  // namespace
}  // namespace zv::ping
