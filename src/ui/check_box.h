// A check box: 0 unchecked, 1 checked. Every change of the value runs the handler.
#pragma once

#include <functional>
#include <string>

#include "common/flags.h"
#include "ui/captioned.h"

namespace zv::ui {

class CheckBox : public Captioned {
  public:
    using Captioned::Captioned;

    std::function<void()> on_change;

    int value() const { return value_; }
    void SetValue(int value) {
        if (Update(value_, value, Change::Value) && on_change) {
            on_change();
        }
    }
    // What a user's click does.
    void Toggle() { SetValue(value_ == kChecked ? kUnchecked : kChecked); }

  private:
    int value_ = kUnchecked;
};

}  // namespace zv::ui
