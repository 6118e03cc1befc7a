// Option buttons and their groups: selecting one option deselects the others of its group.
// Selecting runs the option's handler; deselecting runs nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/captioned.h"

namespace zv::ui {

class Option;

class OptionGroup {
  public:
    void Add(Option* option) { options_.push_back(option); }
    // The selected option, or null.
    Option* Selected() const;
    void DeselectAllBut(const Option* keep);

  private:
    std::vector<Option*> options_;
};

class Option : public Captioned {
  public:
    Option(std::string caption, OptionGroup& group);

    std::function<void()> on_select;

    bool selected() const { return selected_; }
    void Select();
    void Deselect();

  private:
    OptionGroup& group_;
    bool selected_ = false;
};

}  // namespace zv::ui
