#include "main_window/network_stack_view.h"

#include <iterator>

namespace zv::main_window {
namespace {

constexpr size_t kNoRow = static_cast<size_t>(-1);
constexpr int kMargin = 120;
constexpr int kFindingsTop = 420;
constexpr int kFindingPitch = 540;  // two lines of text: a finding names a key
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 345;
constexpr int kListTop = kFindingsTop + (kFindingSlots + 1) * kFindingPitch;
constexpr int kEditTop = kStackHeight - 1320;
constexpr int kBottomTop = kStackHeight - kMargin - 375;

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\r\n") + line;
    }
    return text;
}

}  // namespace

const std::vector<std::string>& StackColumns() {
    static const std::vector<std::string> columns = {"Setting", "Now", "Windows default",
                                                     "Takes effect", "New value"};
    return columns;
}

ui::Bounds NetworkStackView::ListBounds() {
    return {kMargin, kListTop, kStackWidth - 2 * kMargin, kEditTop - kListTop - kMargin};
}

NetworkStackView::NetworkStackView(NetworkStackWorker& worker, ui::MessageBoxPort& messages)
    : worker_(worker), messages_(messages) {
    PlaceControls();
    for (size_t i = 0; i < kFindingSlots; ++i) {
        cmdFix[i].on_click = [this, i] { Fix({i}); };
    }
    cmdFixAll.on_click = [this] {
        std::vector<size_t> all;
        for (size_t i = 0; i < findings_.size(); ++i) {
            if (findings_[i].fixable) {
                all.push_back(i);
            }
        }
        Fix(all);
    };
    fldNewValue.box.on_change = [this] { PickNewValue(); };
    cmdApply.on_click = [this] { ApplyChanges(); };
    cmdRefresh.on_click = [this] {
        lblStatus.SetCaption("");
        StartRead();
    };
    cmdClose.on_click = [this] { Close(); };
    ShowFindings();
}

void NetworkStackView::PlaceControls() {
    const int text_width = kStackWidth - 3 * kMargin - kButtonWidth;
    const int button_left = kStackWidth - kMargin - kButtonWidth;
    lblFindings.SetBounds({kMargin, kMargin, kStackWidth - 2 * kMargin, 255});
    for (size_t i = 0; i < kFindingSlots; ++i) {
        const int top = kFindingsTop + static_cast<int>(i) * kFindingPitch;
        lblFinding[i].SetBounds({kMargin, top + 30, text_width, 480});
        cmdFix[i].SetBounds({button_left, top, kButtonWidth, kButtonHeight});
    }
    cmdFixAll.SetBounds(
        {button_left, kFindingsTop + kFindingSlots * kFindingPitch, kButtonWidth, kButtonHeight});
    fldNewValue.label.SetBounds({kMargin, kEditTop + 45, 1080, 255});
    fldNewValue.box.SetBounds({1260, kEditTop, 3600, 315});
    cmdApply.SetBounds({5040, kEditTop - 15, 1800, 375});
    lblStatus.SetBounds({kMargin, kEditTop + 450, 6960, kBottomTop + 375 - kEditTop - 450});
    cmdRefresh.SetBounds({button_left - kMargin - kButtonWidth, kBottomTop, kButtonWidth, 375});
    cmdClose.SetBounds({button_left, kBottomTop, kButtonWidth, 375});
}

void NetworkStackView::Load() {
    StartRead();
}

void NetworkStackView::StartRead() {
    if (busy_) {
        return;
    }
    busy_ = true;
    rows_.clear();
    findings_.clear();
    picked_.clear();
    SelectRow(kNoRow);
    lblFindings.SetCaption("Reading the settings...");
    ShowFindings();
    if (on_rows_changed) {
        on_rows_changed();
    }
    worker_.Read();
}

void NetworkStackView::OnRows(const std::vector<StackRowText>& rows) {
    rows_.insert(rows_.end(), rows.begin(), rows.end());
    if (on_rows_changed) {
        on_rows_changed();
    }
}

void NetworkStackView::OnReadDone(const std::vector<StackFindingText>& findings,
                                  const std::string& note) {
    busy_ = false;
    findings_ = findings;
    const size_t count = findings_.size();
    lblFindings.SetCaption(count == 0   ? "No harmful settings found."
                           : count == 1 ? "1 harmful setting found:"
                                        : std::to_string(count) + " harmful settings found:");
    std::vector<std::string> lines;
    if (!note.empty()) {
        lines.push_back(note);
    }
    for (const StackRowText& row : rows_) {
        if (row.undo_to_default_only) {
            lines.push_back("* Undo can only put the Windows default back.");
            break;
        }
    }
    if (lblStatus.caption().empty()) {
        lblStatus.SetCaption(Joined(lines));
    }
    ShowFindings();
}

void NetworkStackView::OnChanged(const std::vector<std::string>& outcomes) {
    busy_ = false;
    changing_ = false;
    lblStatus.SetCaption(Joined(outcomes));
    if (held_close_.ToldEnd(messages_, frmNetworkStack.caption(), Joined(outcomes))) {
        Close();
        return;
    }
    StartRead();
}

// The finding slots show the first findings; the heading says how many there are, and
// Fix All reaches every one.
void NetworkStackView::ShowFindings() {
    for (size_t i = 0; i < kFindingSlots; ++i) {
        const bool shown = i < findings_.size();
        std::string text = shown ? findings_[i].text : "";
        if (i + 1 == kFindingSlots && findings_.size() > kFindingSlots) {
            text = std::to_string(findings_.size() - i) + " more: Fix All fixes them too.";
        }
        lblFinding[i].SetCaption(text);
        lblFinding[i].SetVisible(shown);
        cmdFix[i].SetVisible(shown && findings_[i].fixable &&
                             !(i + 1 == kFindingSlots && findings_.size() > kFindingSlots));
    }
    ShowAvailability();
}

void NetworkStackView::ShowAvailability() {
    bool any_fixable = false;
    for (const StackFindingText& finding : findings_) {
        any_fixable = any_fixable || finding.fixable;
    }
    for (ui::Button& fix : cmdFix) {
        fix.SetEnabled(!busy_);
    }
    cmdFixAll.SetEnabled(!busy_ && any_fixable);
    cmdApply.SetEnabled(!busy_ && !picked_.empty());
    cmdRefresh.SetEnabled(!busy_);
    const bool can_pick = selected_ < rows_.size() && !rows_[selected_].choices.empty();
    fldNewValue.box.SetEnabled(!busy_ && can_pick);
}

std::string NetworkStackView::Cell(size_t row, size_t column) const {
    if (row >= rows_.size()) {
        return "";
    }
    const StackRowText& r = rows_[row];
    switch (column) {
        case 0:
            return r.undo_to_default_only ? r.setting + " *" : r.setting;
        case 1:
            return r.now;
        case 2:
            return r.windows_default;
        case 3:
            return r.takes_effect;
        case 4: {
            auto picked = picked_.find(row);
            return picked == picked_.end() ? "" : picked->second;
        }
        default:
            return "";
    }
}

// The list of new values offers the row's choices, on the one picked or the value now.
void NetworkStackView::SelectRow(size_t row) {
    selected_ = row < rows_.size() ? row : kNoRow;
    filling_choices_ = true;
    fldNewValue.box.Clear();
    if (selected_ != kNoRow) {
        const StackRowText& r = rows_[selected_];
        auto picked = picked_.find(selected_);
        const std::string& shown = picked == picked_.end() ? r.now : picked->second;
        for (size_t i = 0; i < r.choices.size(); ++i) {
            fldNewValue.box.AddItem(r.choices[i]);
            if (r.choices[i] == shown) {
                fldNewValue.box.SetSelection(static_cast<int>(i));
            }
        }
    }
    filling_choices_ = false;
    ShowAvailability();
}

// Picking the value the row has now drops what was picked for it.
void NetworkStackView::PickNewValue() {
    if (filling_choices_ || selected_ == kNoRow) {
        return;
    }
    const std::string value = fldNewValue.box.SelectedText();
    if (value == rows_[selected_].now) {
        picked_.erase(selected_);
    } else {
        picked_[selected_] = value;
    }
    if (on_rows_changed) {
        on_rows_changed();
    }
    ShowAvailability();
}

void NetworkStackView::Fix(std::vector<size_t> findings) {
    StackChangeRequest request;
    request.fixes = std::move(findings);
    Send(request);
}

void NetworkStackView::ApplyChanges() {
    StackChangeRequest request;
    request.values.assign(picked_.begin(), picked_.end());
    Send(request);
}

void NetworkStackView::Send(const StackChangeRequest& request) {
    if (busy_ || (request.fixes.empty() && request.values.empty())) {
        return;
    }
    busy_ = true;
    changing_ = true;
    lblStatus.SetCaption("Changing...");
    ShowAvailability();
    worker_.Change(request);
}

// A read may be left to end alone; a change may not, as Undo and another change must not
// start while it writes, and its outcome must be seen.
void NetworkStackView::Close() {
    if (changing_) {
        held_close_.Hold(cmdClose, lblStatus);
        return;
    }
    if (on_unload) {
        on_unload();
    }
}

}  // namespace zv::main_window
