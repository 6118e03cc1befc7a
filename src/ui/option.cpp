#include "ui/option.h"

namespace zv::ui {

Option* OptionGroup::Selected() const {
    for (Option* option : options_) {
        if (option->selected()) {
            return option;
        }
    }
    return nullptr;
}

void OptionGroup::DeselectAllBut(const Option* keep) {
    for (Option* option : options_) {
        if (option != keep) {
            option->Deselect();
        }
    }
}

Option::Option(std::string caption, OptionGroup& group)
    : Captioned(std::move(caption)), group_(group) {
    group_.Add(this);
}

void Option::Select() {
    if (selected_) {
        return;
    }
    group_.DeselectAllBut(this);
    selected_ = true;
    Notify(Change::Checked);
    if (on_select) {
        on_select();
    }
}

void Option::Deselect() {
    Update(selected_, false, Change::Checked);
}

}  // namespace zv::ui
