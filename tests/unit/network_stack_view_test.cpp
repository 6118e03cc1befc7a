// The Network Stack window's controller over a recording worker: rows filling in, the
// findings and their Fix buttons, values picked and applied, and nothing sent while the
// worker is busy.
#include <gtest/gtest.h>

#include "fakes/recording_ui.h"
#include "main_window/network_stack_view.h"

namespace zv::main_window {
namespace {

class RecordingWorker : public NetworkStackWorker {
  public:
    int reads = 0;
    std::vector<StackChangeRequest> changes;
    void Read() override { ++reads; }
    void Change(const StackChangeRequest& request) override { changes.push_back(request); }
};

StackRowText Row(const std::string& setting, const std::string& now,
                 std::vector<std::string> choices = {}, bool default_only = false) {
    return {setting, now, "normal", "At once", std::move(choices), default_only};
}

class NetworkStackViewTest : public ::testing::Test {
  protected:
    RecordingWorker worker;
    testing::RecordingMessageBox messages;
    NetworkStackView view{worker, messages};
    int redraws = 0;
    int unloads = 0;

    void SetUp() override {
        view.on_rows_changed = [this] { ++redraws; };
        view.on_unload = [this] { ++unloads; };
        view.Load();
    }

    void ReadAll(const std::vector<StackFindingText>& findings) {
        view.OnRows({Row("Auto-tuning level", "disabled", {"normal", "disabled"})});
        view.OnRows({Row("Initial RTO (ms)", "3000", {"1000", "3000"}, true),
                     Row("ECN capability", "not available")});
        view.OnReadDone(findings, "");
    }
};

TEST_F(NetworkStackViewTest, RowsFillInAsTheyArriveAndFindingsShowTheirFixButtons) {
    EXPECT_EQ(worker.reads, 1);
    EXPECT_TRUE(view.busy());
    EXPECT_FALSE(view.cmdRefresh.enabled());
    view.OnRows({Row("Auto-tuning level", "disabled")});
    EXPECT_EQ(view.RowCount(), 1u);
    ReadAll({{"Auto-tuning is disabled.", true}, {"Group Policy restricts auto-tuning.", false}});
    EXPECT_EQ(view.RowCount(), 4u);
    EXPECT_EQ(view.Cell(2, 0), "Initial RTO (ms) *");
    EXPECT_EQ(view.Cell(2, 3), "At once");
    EXPECT_EQ(view.lblStatus.caption(), "* Undo can only put the Windows default back.");
    EXPECT_EQ(view.lblFindings.caption(), "2 harmful settings found:");
    EXPECT_TRUE(view.cmdFix[0].visible());
    EXPECT_EQ(view.lblFinding[1].caption(), "Group Policy restricts auto-tuning.");
    EXPECT_FALSE(view.cmdFix[1].visible());
    EXPECT_FALSE(view.lblFinding[2].visible());

    view.cmdFixAll.Click();
    view.cmdFix[0].Click();  // busy: nothing more is sent
    ASSERT_EQ(worker.changes.size(), 1u);
    EXPECT_EQ(worker.changes[0].fixes, std::vector<size_t>{0});
    EXPECT_EQ(view.lblStatus.caption(), "Changing...");
    view.OnChanged({"Auto-tuning level: refused by Windows (exit code 1)."});
    EXPECT_EQ(worker.reads, 2);
    EXPECT_EQ(view.RowCount(), 0u);
    EXPECT_EQ(view.lblStatus.caption(), "Auto-tuning level: refused by Windows (exit code 1).");
}

TEST_F(NetworkStackViewTest, PickedValuesAreAppliedTogetherAndTheValueNowDropsAPick) {
    ReadAll({});
    EXPECT_EQ(view.lblFindings.caption(), "No harmful settings found.");
    EXPECT_FALSE(view.cmdFixAll.enabled());
    view.SelectRow(2);
    EXPECT_FALSE(view.fldNewValue.box.enabled());  // not available: nothing to pick
    view.SelectRow(0);
    EXPECT_EQ(view.fldNewValue.box.SelectedText(), "disabled");
    EXPECT_FALSE(view.cmdApply.enabled());
    view.fldNewValue.box.SetSelection(0);
    view.SelectRow(1);
    view.fldNewValue.box.SetSelection(0);
    view.fldNewValue.box.SetSelection(1);  // back to the value now
    EXPECT_EQ(view.Cell(0, 4), "normal");
    EXPECT_EQ(view.Cell(1, 4), "");
    view.cmdApply.Click();
    ASSERT_EQ(worker.changes.size(), 1u);
    EXPECT_EQ(worker.changes[0].values,
              (std::vector<std::pair<size_t, std::string>>{{0, "normal"}}));
    EXPECT_TRUE(worker.changes[0].fixes.empty());
}

// Close, Esc and the title bar's box all ask Close: a read is left to end alone, a change
// is not, and its outcome is shown before the window goes.
TEST_F(NetworkStackViewTest, AChangeKeepsTheWindowOpenUntilItsOutcomeIsShown) {
    ReadAll({{"Auto-tuning is disabled.", true}});
    view.cmdFix[0].Click();
    for (int attempt = 0; attempt < 2; ++attempt) {
        view.Close();
    }
    EXPECT_EQ(unloads, 0);
    EXPECT_EQ(view.lblStatus.caption(),
              "Finishing the change: the window closes when it has ended.");
    EXPECT_TRUE(messages.shown.empty());

    view.OnChanged({"Auto-tuning level: set to Normal."});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "The change has ended.\r\nAuto-tuning level: set to Normal.");
    EXPECT_EQ(messages.shown[0].caption, "Network Stack");
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(worker.reads, 1) << "no read after a change the window closes on";

    view.Load();  // a read runs: the window closes at once
    view.Close();
    EXPECT_EQ(unloads, 2);
}

TEST_F(NetworkStackViewTest, FindingsBeyondTheSlotsAreCountedAndFixAllReachesThem) {
    std::vector<StackFindingText> findings;
    for (int i = 0; i < 6; ++i) {
        findings.push_back({"Finding " + std::to_string(i), i != 1});
    }
    ReadAll(findings);
    EXPECT_EQ(view.lblFinding[kFindingSlots - 1].caption(), "3 more: Fix All fixes them too.");
    EXPECT_FALSE(view.cmdFix[kFindingSlots - 1].visible());
    view.cmdFixAll.Click();
    ASSERT_EQ(worker.changes.size(), 1u);
    EXPECT_EQ(worker.changes[0].fixes, (std::vector<size_t>{0, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace zv::main_window
