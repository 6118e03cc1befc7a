#include "ui/control.h"

namespace zv::ui {

void Control::SetEnabled(bool enabled) {
    Update(enabled_, enabled, Change::Enabled);
}

void Control::SetVisible(bool visible) {
    Update(visible_, visible, Change::Visible);
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
