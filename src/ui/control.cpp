#include "ui/control.h"

namespace zv::ui {

void Control::SetEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        Notify(Change::Enabled);
    }
}

void Control::SetVisible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        Notify(Change::Visible);
    }
}

void Control::SetBounds(const Bounds& bounds) {
    bounds_ = bounds;
    Notify(Change::Bounds);
}

void Control::MoveBy(int dx, int dy) {
    Bounds moved = bounds_;
    moved.left += dx;
    moved.top += dy;
    SetBounds(moved);
}

}  // namespace zv::ui
