#include "main_window/current_settings_view.h"

#include <algorithm>
#include <iterator>

namespace zv::main_window {
namespace {

// Layout in twips.
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 375;

const std::string& CellOf(const ReportRow& row, size_t column) {
    const std::string* cells[] = {&row.setting, &row.now, &row.windows_default,
                                  &row.apply_would_write, &row.used};
    static const std::string kNone;
    return column < std::size(cells) ? *cells[column] : kNone;
}

}  // namespace

CurrentSettingsView::CurrentSettingsView(const CurrentSettingsViewPorts& ports) : ports_(ports) {
    cmdCopy.on_click = [this] { Copy(); };
    cmdSaveAs.on_click = [this] { SaveAs(); };
    cmdRefresh.on_click = [this] { Refresh(); };
    cmdClose.on_click = [this] { ports_.window.Close(); };
}

void CurrentSettingsView::Load() {
    rows_ = ports_.read_report();
}

const std::string& CurrentSettingsView::Cell(size_t row, size_t column) const {
    static const std::string kNone;
    return row < rows_.size() ? CellOf(rows_[row], column) : kNone;
}

std::vector<ColumnTexts> CurrentSettingsView::WidestTexts() const {
    std::vector<ColumnTexts> widest;
    for (const std::string& title : ReportColumns()) {
        const size_t column = widest.size();
        widest.push_back({title, ""});
        for (const ReportRow& row : rows_) {
            const std::string& text = CellOf(row, column);
            if (text.size() > std::max(title.size(), widest.back().longest_cell.size())) {
                widest.back().longest_cell = text;
            }
        }
    }
    return widest;
}

// The list takes the window less a row of buttons at the bottom right.
void CurrentSettingsView::Layout(int width, int height) {
    ui::Button* buttons[] = {&cmdCopy, &cmdSaveAs, &cmdRefresh, &cmdClose};
    const int buttons_top = height - kMargin - kButtonHeight;
    list_bounds_ = {kMargin, kMargin, width - 2 * kMargin, buttons_top - 2 * kMargin};
    int left = width - static_cast<int>(std::size(buttons)) * (kButtonWidth + kMargin);
    for (ui::Button* button : buttons) {
        button->SetBounds({left, buttons_top, kButtonWidth, kButtonHeight});
        left += kButtonWidth + kMargin;
    }
}

// The selected rows, or every row when none is selected, always under the column titles.
void CurrentSettingsView::Copy() {
    std::vector<ReportRow> chosen;
    for (size_t index : ports_.window.SelectedRows()) {
        if (index < rows_.size()) {
            chosen.push_back(rows_[index]);
        }
    }
    ports_.window.CopyToClipboard(ReportText(chosen.empty() ? rows_ : chosen));
}

void CurrentSettingsView::SaveAs() {
    const std::string path = ports_.window.ChooseSaveFile("Current Settings.txt");
    if (path.empty() || ports_.files.WriteFileAtomic(path, ReportText(rows_))) {
        return;
    }
    ui::Message message;
    message.text = "The list could not be saved to\r\n" + path;
    message.caption = "Zorvane";
    message.icon = ui::MessageIcon::Exclamation;
    ports_.messages.Show(message);
}

void CurrentSettingsView::Refresh() {
    Load();
    ports_.window.ShowRows();
}

}  // namespace zv::main_window
