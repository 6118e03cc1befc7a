// A drop-down list without typing. Every change of the selected position runs on_change;
// emptying the list clears the selection without running it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace zv::ui {

constexpr int kNoSelection = -1;

class ComboBox : public Control {
  public:
    std::function<void()> on_change;

    void Clear();
    void AddItem(const std::string& text);
    int ItemCount() const { return static_cast<int>(items_.size()); }
    const std::string& ItemText(int position) const { return items_.at(position); }
    const std::vector<std::string>& items() const { return items_; }

    int selection() const { return selection_; }
    // Positions outside the list are ignored: the list cannot show them.
    void SetSelection(int position);
    // The selected item's text, or "" with no selection.
    std::string SelectedText() const;

  private:
    std::vector<std::string> items_;
    int selection_ = kNoSelection;
};

}  // namespace zv::ui
