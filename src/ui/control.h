// The control model. A window is a controller over named controls whose state lives here,
// in plain objects, so that every controller runs without a real window. Each change of a
// control's state, made by the user or by the program, runs the control's handler before
// the change returns; a change to the state the control already has runs nothing. A view
// (the Win32 binder, in the real program) mirrors every change onto a real control.
#pragma once

#include <string>

namespace zv::ui {

// Position and size in twips (1440 to the inch), relative to the control's window.
struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class Change { Enabled, Visible, Bounds, Text, Items, Selection, Value, Checked };

class ControlView {
  public:
    virtual ~ControlView() = default;
    virtual void OnChange(Change what) = 0;
};

class Control {
  public:
    Control() = default;
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    bool enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    bool visible() const { return visible_; }
    void SetVisible(bool visible);

    const Bounds& bounds() const { return bounds_; }
    void SetBounds(const Bounds& bounds);
    void MoveBy(int dx, int dy);

    // The view that mirrors this control; one at most, none in unit tests.
    void AttachView(ControlView* view) { view_ = view; }

  protected:
    void Notify(Change what) {
        if (view_ != nullptr) {
            view_->OnChange(what);
        }
    }
    // Sets a state the view shows and tells the view of it; false when it was so already,
    // so that a setter runs its handler only for a real change.
    template <typename T>
    bool Update(T& state, const T& value, Change what) {
        if (state == value) {
            return false;
        }
        state = value;
        Notify(what);
        return true;
    }

  private:
    bool enabled_ = true;
    bool visible_ = true;
    Bounds bounds_;
    ControlView* view_ = nullptr;
};

}  // namespace zv::ui
