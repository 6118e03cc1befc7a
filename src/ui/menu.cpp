#include "ui/menu.h"

#include "common/program_fault.h"

namespace zv::ui {
namespace {

const MenuEntry* Find(const MenuTable& rows, int command) {
    for (const MenuEntry& row : rows) {
        if (row.IsSubmenu()) {
            if (const MenuEntry* found = Find(row.items, command)) {
                return found;
            }
        } else if (!row.IsSeparator() && row.command == command) {
            return &row;
        }
    }
    return nullptr;
}

void RequireHandlersOf(const MenuTable& rows,
                       const std::map<int, std::function<void()>>& handlers) {
    for (const MenuEntry& row : rows) {
        if (row.IsSubmenu()) {
            RequireHandlersOf(row.items, handlers);
        } else if (row.IsSeparator()) {
            continue;
        } else if (row.command == 0) {
            ProgramFault("menu item \"" + row.caption + "\" has no command");
        } else if (handlers.count(row.command) == 0) {
            ProgramFault("menu item \"" + row.caption + "\" (command " +
                         std::to_string(row.command) + ") has no handler");
        }
    }
}

void CollectHandlers(const MenuTable& rows, std::map<int, std::function<void()>>& handlers) {
    for (const MenuEntry& row : rows) {
        CollectHandlers(row.items, handlers);
        if (row.handler) {
            handlers[row.command] = row.handler;
        }
    }
}

}  // namespace

Menu::Menu(MenuTable table) : table_(std::move(table)) {
    CollectHandlers(table_, handlers_);
}

void Menu::On(int command, std::function<void()> handler) {
    Item(command);
    handlers_[command] = std::move(handler);
}

void Menu::RequireHandlers() const {
    RequireHandlersOf(table_, handlers_);
}

bool Menu::Choose(int command) {
    auto handler = handlers_.find(command);
    if (handler == handlers_.end() || !enabled(command)) {
        return false;
    }
    // A copy: the handler may run for long (a modal dialog) while handlers change.
    std::function<void()> run = handler->second;
    run();
    return true;
}

bool Menu::checked(int command) const {
    Item(command);
    auto found = checked_.find(command);
    return found != checked_.end() && found->second;
}

void Menu::SetChecked(int command, bool checked) {
    if (this->checked(command) == checked) {
        return;
    }
    checked_[command] = checked;
    if (view_ != nullptr) {
        view_->OnItemChanged(command);
    }
}

bool Menu::enabled(int command) const {
    Item(command);
    auto found = disabled_.find(command);
    return found == disabled_.end() || !found->second;
}

void Menu::SetEnabled(int command, bool enabled) {
    if (this->enabled(command) == enabled) {
        return;
    }
    disabled_[command] = !enabled;
    if (view_ != nullptr) {
        view_->OnItemChanged(command);
    }
}

const std::string& Menu::caption(int command) const {
    return Item(command).caption;
}

void Menu::SetCaption(int command, const std::string& caption) {
    MenuEntry& item = Item(command);
    if (item.caption == caption) {
        return;
    }
    item.caption = caption;
    if (view_ != nullptr) {
        view_->OnItemChanged(command);
    }
}

MenuEntry& Menu::Item(int command) {
    return const_cast<MenuEntry&>(static_cast<const Menu&>(*this).Item(command));
}

const MenuEntry& Menu::Item(int command) const {
    const MenuEntry* item = Find(table_, command);
    if (item == nullptr) {
        ProgramFault("no menu item has command " + std::to_string(command));
    }
    return *item;
}

}  // namespace zv::ui
