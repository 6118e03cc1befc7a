// The real menu of a menu model, for both programs: built from the model's table as a
// window's menu bar or as a popup, each item's ID its command. It mirrors the model's
// check marks, captions and unavailable items, and hands the menu's WM_COMMAND to the
// model.
#pragma once

#include <windows.h>

#include "ui/menu.h"

namespace zv::win32 {

class RealMenu : public ui::Menu::View {
  public:
    enum class Kind { MenuBar, Popup };

    // A menu bar is set on the owner at once; a popup's commands go to the owner.
    RealMenu(ui::Menu& model, HWND owner, Kind kind);
    ~RealMenu() override;
    RealMenu(const RealMenu&) = delete;
    RealMenu& operator=(const RealMenu&) = delete;

    // A WM_COMMAND of the owner: true when it came from one of this menu's items (or was
    // sent with an item's command) and the model ran it.
    bool OnCommand(WPARAM wparam, LPARAM lparam);

    // Pops the menu up at the point of the screen; returns when it closes, true when an item
    // was chosen (its command follows). The owner should be in the foreground.
    bool PopUpAt(POINT at);

    void OnItemChanged(int command) override;

  private:
    HMENU Build(const ui::MenuTable& rows, bool popup);

    ui::Menu& model_;
    HWND owner_;
    Kind kind_;
    HMENU menu_ = nullptr;
};

}  // namespace zv::win32
