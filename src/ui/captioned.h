// Controls that carry a caption and, for buttons, a click handler: labels, frames, command
// buttons and the window itself.
#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace zv::ui {

// A label, a frame, or any control whose only state is its caption.
class Captioned : public Control {
  public:
    Captioned() = default;
    explicit Captioned(std::string caption) : caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    void SetCaption(const std::string& caption) { Update(caption_, caption, Change::Text); }

  private:
    std::string caption_;
};

using Label = Captioned;
using Frame = Captioned;

class Button : public Captioned {
  public:
    using Captioned::Captioned;
    std::function<void()> on_click;

    // What a click does: runs the handler (a disabled button cannot be clicked by the user,
    // but the program may still call it).
    void Click() {
        if (on_click) {
            on_click();
        }
    }
};

enum class WindowState { Normal, Minimized, Maximized };

// A top-level window: its caption, visibility, outer bounds and state.
class Window : public Captioned {
  public:
    // A window starts hidden; showing it is a change its view mirrors.
    explicit Window(std::string caption) : Captioned(std::move(caption)) { SetVisible(false); }

    WindowState state() const { return state_; }
    void SetState(WindowState state) { Update(state_, state, Change::Value); }

  private:
    WindowState state_ = WindowState::Normal;
};

}  // namespace zv::ui
