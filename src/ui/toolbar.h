// A toolbar: buttons that each carry the menu command they run, separators between them,
// and one click handler that receives the clicked button's command.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace zv::ui {

struct ToolbarButton {
    int command = 0;  // 0 for a separator
    std::string caption;
    std::string tooltip;
    int image = 0;  // 1-based image of the toolbar's image list, 0 = none

    bool IsSeparator() const { return command == 0; }
};

class Toolbar : public Control {
  public:
    std::function<void(int command)> on_button_click;

    void AddButton(const ToolbarButton& button) {
        buttons_.push_back(button);
        Notify(Change::Items);
    }
    void AddSeparator() { AddButton(ToolbarButton{}); }
    const std::vector<ToolbarButton>& buttons() const { return buttons_; }

    // Sets the image of the button at a 1-based position.
    void SetButtonImage(int position, int image) {
        buttons_.at(position - 1).image = image;
        Notify(Change::Items);
    }

    void ClickButton(int command) {
        if (on_button_click) {
            on_button_click(command);
        }
    }

  private:
    std::vector<ToolbarButton> buttons_;
};

}  // namespace zv::ui
