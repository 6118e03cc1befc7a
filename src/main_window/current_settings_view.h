// The Current Settings dialog as a controller: the report's rows, Copy (the selected rows,
// or all), Save As, Refresh and Close, and the layout of the list and its row of buttons.
// The real window draws the list from Cell() and measures the column widths from
// WidestTexts(); everything else is decided here.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "sysconfig/current_settings_report.h"
#include "ui/captioned.h"
#include "ui/ports.h"

namespace zv::main_window {

// What only the real window can do for the controller.
class CurrentSettingsPort : public ui::SavingWindowPort {
  public:
    virtual void CopyToClipboard(const std::string& text) = 0;
    // The indexes of the rows selected in the list, in order.
    virtual std::vector<size_t> SelectedRows() = 0;
    // The rows were read again: the list shows their number and text anew.
    virtual void ShowRows() = 0;
};

struct CurrentSettingsViewPorts {
    std::function<std::vector<ReportRow>()> read_report;
    FileSystem& files;
    ui::MessageBoxPort& messages;
    CurrentSettingsPort& window;
};

// Client sizes in twips: the size it opens at (before its width follows the columns) and
// the least the user may make it.
inline constexpr int kCurrentSettingsHeight = 6600;
inline constexpr int kCurrentSettingsMinWidth = 8650;
inline constexpr int kCurrentSettingsMinHeight = kCurrentSettingsHeight / 2;

// The texts that decide a column's width: its title, and its longest cell when that has more
// characters than the title. The window measures both and adds the room around each: a
// title is drawn with wider margins than a cell.
struct ColumnTexts {
    std::string title;
    std::string longest_cell;
};
inline constexpr int kTitlePaddingTwips = 420;
inline constexpr int kCellPaddingTwips = 270;

class CurrentSettingsView {
  public:
    explicit CurrentSettingsView(const CurrentSettingsViewPorts& ports);

    void Load();  // reads the report
    size_t RowCount() const { return rows_.size(); }
    const std::string& Cell(size_t row, size_t column) const;
    // Per column, so that nothing is cut off (a real interface's key is a GUID of 38
    // characters). The longest by characters stands for the widest, since measuring every
    // row of a hundred interfaces would cost more than it gains.
    std::vector<ColumnTexts> WidestTexts() const;
    // The client width the columns want beside the list's frame and scroll bar.
    static int ChromeTwips() { return 2 * kMargin; }

    // Places the list and the buttons for a client area of this size, in twips.
    void Layout(int width, int height);
    const ui::Bounds& ListBounds() const { return list_bounds_; }

    // Copy, as Ctrl+C in the list does it.
    void Copy();

    ui::Window frmCurrentSettings{"Current Settings"};
    ui::Button cmdCopy{"&Copy"};
    ui::Button cmdSaveAs{"&Save As..."};
    ui::Button cmdRefresh{"&Refresh"};
    ui::Button cmdClose{"Close"};

  private:
    static constexpr int kMargin = 120;
    void SaveAs();
    void Refresh();

    CurrentSettingsViewPorts ports_;
    std::vector<ReportRow> rows_;
    ui::Bounds list_bounds_;
};

}  // namespace zv::main_window
