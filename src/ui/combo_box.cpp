#include "ui/combo_box.h"

namespace zv::ui {

void ComboBox::Clear() {
    items_.clear();
    selection_ = kNoSelection;
    Notify(Change::Items);
}

void ComboBox::AddItem(const std::string& text) {
    items_.push_back(text);
    Notify(Change::Items);
}

void ComboBox::SetSelection(int position) {
    if (position < kNoSelection || position >= ItemCount() || position == selection_) {
        return;
    }
    selection_ = position;
    Notify(Change::Selection);
    if (on_change) {
        on_change();
    }
}

std::string ComboBox::SelectedText() const {
    return selection_ == kNoSelection ? std::string() : items_[selection_];
}

}  // namespace zv::ui
