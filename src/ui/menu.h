// Menus as data. A window declares each menu as one table of rows (caption, command and
// handler, separators, submenus with rows of their own); the Menu model dispatches by
// command and holds what changes at run time (check marks, captions and unavailable items),
// which a view mirrors onto the real menu.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zv::ui {

inline constexpr const char* kMenuSeparatorCaption = "-";

// One row of a menu table. Captions carry their access keys ("&File").
struct MenuEntry {
    // An item that runs a command with its handler.
    MenuEntry(std::string caption, int command, std::function<void()> handler)
        : caption(std::move(caption)), command(command), handler(std::move(handler)) {}
    // An item whose handler is given with Menu::On.
    MenuEntry(std::string caption, int command) : caption(std::move(caption)), command(command) {}
    // A submenu.
    MenuEntry(std::string caption, std::vector<MenuEntry> items)
        : caption(std::move(caption)), items(std::move(items)) {}

    bool IsSeparator() const { return caption == kMenuSeparatorCaption; }
    bool IsSubmenu() const { return !items.empty(); }

    std::string caption;
    int command = 0;
    std::function<void()> handler;
    std::vector<MenuEntry> items;
};

using MenuTable = std::vector<MenuEntry>;

inline MenuEntry MenuSeparator() {
    return MenuEntry(kMenuSeparatorCaption, 0);
}

class Menu {
  public:
    // Takes the handlers of the rows that carry one.
    explicit Menu(MenuTable table);
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // The rows as declared, with the captions changed since.
    const MenuTable& table() const { return table_; }

    void On(int command, std::function<void()> handler);
    // Stops the program (ProgramFault) naming the first item without a command or without a
    // handler: a menu item that does nothing is a fault of the program, so it stops the
    // program at start instead of waiting for a user to choose the item.
    void RequireHandlers() const;

    // The user chose an item: runs the handler of its command. False when no item of this
    // menu has the command, or its item is unavailable, which a real menu never sends.
    bool Choose(int command);

    bool checked(int command) const;
    void SetChecked(int command, bool checked);
    // Items are available until made otherwise; an unavailable one is greyed.
    bool enabled(int command) const;
    void SetEnabled(int command, bool enabled);
    const std::string& caption(int command) const;
    void SetCaption(int command, const std::string& caption);

    // Mirrors the check marks, captions and availability of the items; one view at most.
    class View {
      public:
        virtual ~View() = default;
        virtual void OnItemChanged(int command) = 0;
    };
    void AttachView(View* view) { view_ = view; }

  private:
    // The item of a command; a program fault when the menu has none.
    MenuEntry& Item(int command);
    const MenuEntry& Item(int command) const;

    MenuTable table_;
    std::map<int, std::function<void()>> handlers_;
    std::map<int, bool> checked_;
    std::map<int, bool> disabled_;
    View* view_ = nullptr;
};

}  // namespace zv::ui
