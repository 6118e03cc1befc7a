// A status bar of text panels, numbered from 1.
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace zv::ui {

class StatusBar : public Control {
  public:
    explicit StatusBar(int panel_count) : panels_(static_cast<size_t>(panel_count)) {}

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    const std::string& PanelText(int panel) const { return panels_.at(panel - 1); }
    void SetPanelText(int panel, const std::string& text) {
        Update(panels_.at(panel - 1), text, Change::Text);
    }

  private:
    std::vector<std::string> panels_;
};

}  // namespace zv::ui
