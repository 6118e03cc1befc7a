#include "win32/ui/real_menu.h"

namespace zv::win32 {

RealMenu::RealMenu(ui::Menu& model, HWND owner, Kind kind)
    : model_(model), owner_(owner), kind_(kind) {
    menu_ = Build(model_.table(), kind_ == Kind::Popup);
    if (kind_ == Kind::MenuBar) {
        SetMenu(owner_, menu_);
    }
    model_.AttachView(this);
}

// A menu bar is destroyed with its window.
RealMenu::~RealMenu() {
    model_.AttachView(nullptr);
    if (kind_ == Kind::Popup) {
        DestroyMenu(menu_);
    }
}

HMENU RealMenu::Build(const ui::MenuTable& rows, bool popup) {
    HMENU menu = popup ? CreatePopupMenu() : CreateMenu();
    for (const ui::MenuEntry& row : rows) {
        if (row.IsSeparator()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (row.IsSubmenu()) {
            AppendMenuA(menu, MF_POPUP | MF_STRING,
                        reinterpret_cast<UINT_PTR>(Build(row.items, true)), row.caption.c_str());
        } else {
            UINT checked = model_.checked(row.command) ? MF_CHECKED : MF_UNCHECKED;
            UINT enabled = model_.enabled(row.command) ? MF_ENABLED : MF_GRAYED;
            AppendMenuA(menu, MF_STRING | checked | enabled, static_cast<UINT_PTR>(row.command),
                        row.caption.c_str());
        }
    }
    return menu;
}

// Menus send their commands with no control window (lparam 0); a control's notification
// with the same ID is not a menu command.
bool RealMenu::OnCommand(WPARAM wparam, LPARAM lparam) {
    return lparam == 0 && model_.Choose(LOWORD(wparam));
}

// The posted message lets the menu loop finish before the next menu comes up. (The menu
// closes when the user clicks elsewhere only if its owner was brought to the foreground
// first; the caller does that.)
bool RealMenu::PopUpAt(POINT at) {
    UINT command =
        static_cast<UINT>(TrackPopupMenu(menu_, TPM_RETURNCMD, at.x, at.y, 0, owner_, nullptr));
    if (command != 0) {
        PostMessageA(owner_, WM_COMMAND, command, 0);
    }
    PostMessageA(owner_, WM_NULL, 0, 0);
    return command != 0;
}

void RealMenu::OnItemChanged(int command) {
    UINT id = static_cast<UINT>(command);
    CheckMenuItem(menu_, id, MF_BYCOMMAND | (model_.checked(command) ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(menu_, id, MF_BYCOMMAND | (model_.enabled(command) ? MF_ENABLED : MF_GRAYED));
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(model_.caption(command).c_str());
    SetMenuItemInfoA(menu_, id, FALSE, &info);
    // A hidden window's bar is drawn whole when it shows; redrawing it for each item the
    // load sets would cost the start for nothing.
    if (kind_ == Kind::MenuBar && IsWindowVisible(owner_)) {
        DrawMenuBar(owner_);
    }
}

}  // namespace zv::win32
