// The Current Settings dialog's controller over scripted reports: Copy of the selection or
// of everything, Save As (cancelled, written, refused), Refresh, Close, and the texts that
// decide the column widths.
#include "main_window/current_settings_view.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"
#include "fakes/recording_ui.h"

namespace zv::main_window {
namespace {

struct FakeCurrentSettingsWindow : CurrentSettingsPort {
    std::string chosen;
    std::vector<size_t> selected;
    std::vector<std::string> clipboard;
    int shown_rows = 0;
    int closes = 0;
    std::string ChooseSaveFile(const std::string&) override { return chosen; }
    void CopyToClipboard(const std::string& text) override { clipboard.push_back(text); }
    std::vector<size_t> SelectedRows() override { return selected; }
    void ShowRows() override { ++shown_rows; }
    void Close() override { ++closes; }
};

ReportRow Row(const std::string& setting, const std::string& now) {
    return {setting, now, "(absent)", "1500", "yes"};
}

class CurrentSettingsViewTest : public ::testing::Test {
  protected:
    CurrentSettingsViewTest() { view.Load(); }

    std::vector<ReportRow> report{Row("MTU", "1500"), Row("TTL", "128"), Row("RWIN", "(absent)")};
    int reads = 0;
    testing::MemoryFileSystem files;
    testing::RecordingMessageBox messages;
    FakeCurrentSettingsWindow window;
    CurrentSettingsView view{{[this] {
                                  ++reads;
                                  return report;
                              },
                              files, messages, window}};
};

TEST_F(CurrentSettingsViewTest, CopyTakesTheSelectedRowsOrEveryRowUnderTheTitles) {
    view.cmdCopy.Click();
    window.selected = {2, 0, 7};  // a row past the end is no row
    view.cmdCopy.Click();
    ASSERT_EQ(window.clipboard.size(), 2u);
    EXPECT_EQ(window.clipboard[0], ReportText(report));
    EXPECT_EQ(window.clipboard[1], ReportText({report[2], report[0]}));
}

TEST_F(CurrentSettingsViewTest, SaveAsWritesTheWholeListOrSaysWhereItFailed) {
    view.cmdSaveAs.Click();  // cancelled
    EXPECT_TRUE(files.files.empty());
    window.chosen = "C:\\out\\settings.txt";
    view.cmdSaveAs.Click();
    EXPECT_EQ(files.files[window.chosen], ReportText(report));
    EXPECT_TRUE(messages.shown.empty());
    files.writes_fail = true;
    view.cmdSaveAs.Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "The list could not be saved to\r\nC:\\out\\settings.txt");
}

TEST_F(CurrentSettingsViewTest, RefreshReadsTheRegistryAgainAndCloseAsksTheWindow) {
    report.push_back(Row("MSS", "1460"));
    view.cmdRefresh.Click();
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(window.shown_rows, 1);
    EXPECT_EQ(view.RowCount(), 4u);
    EXPECT_EQ(view.Cell(3, 1), "1460");
    EXPECT_EQ(view.Cell(9, 1), "");
    view.cmdClose.Click();
    EXPECT_EQ(window.closes, 1);
}

TEST_F(CurrentSettingsViewTest, ColumnsAreSizedByTheirTitleOrALongerCell) {
    report[0].now = "{4D36E972-E325-11CE-BFC1-08002BE10318}";
    view.Load();
    std::vector<ColumnTexts> widest = view.WidestTexts();
    ASSERT_EQ(widest.size(), ReportColumns().size());
    EXPECT_EQ(widest[1].longest_cell, report[0].now);
    EXPECT_EQ(widest[0].longest_cell, "");  // "MTU" is shorter than its title
}

TEST_F(CurrentSettingsViewTest, TheListTakesTheWindowLessARowOfButtons) {
    view.Layout(9000, 6600);
    const ui::Bounds list = view.ListBounds();
    EXPECT_EQ(list.left, 120);
    EXPECT_EQ(list.left + list.width, 9000 - 120);
    EXPECT_EQ(view.cmdClose.bounds().left + view.cmdClose.bounds().width, 9000 - 120);
    EXPECT_EQ(view.cmdCopy.bounds().top, list.top + list.height + 120);
    EXPECT_EQ(view.cmdCopy.bounds().top + view.cmdCopy.bounds().height, 6600 - 120);
}

}  // namespace
}  // namespace zv::main_window
