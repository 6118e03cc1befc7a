// A window timer: ticks every interval milliseconds while enabled and its interval is not 0.
// The Win32 binder arms a real timer; tests call Tick() as their clock advances.
#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace zv::ui {

class Timer : public Control {
  public:
    Timer(int interval_ms, bool enabled) {
        interval_ = interval_ms;
        SetEnabled(enabled);
    }

    std::function<void()> on_tick;

    int interval() const { return interval_; }
    void SetInterval(int interval_ms) { Update(interval_, interval_ms, Change::Value); }
    bool running() const { return enabled() && interval_ > 0; }

    void Tick() {
        if (running() && on_tick) {
            on_tick();
        }
    }

  private:
    int interval_ = 0;
};

}  // namespace zv::ui
