// A menu as text, one row a line, submenus indented: "&ToolBar 211 checked", "-",
// "&Undo Last Change 222 greyed".
#pragma once

#include <string>

#include "ui/menu.h"

namespace zv::testing {

inline void OutlineRows(const ui::Menu& menu, const ui::MenuTable& rows, const std::string& indent,
                        std::string& out) {
    for (const ui::MenuEntry& row : rows) {
        out += indent + row.caption;
        if (row.IsSubmenu()) {
            out += "\n";
            OutlineRows(menu, row.items, indent + "  ", out);
            continue;
        }
        if (!row.IsSeparator()) {
            out += " " + std::to_string(row.command);
            out += menu.checked(row.command) ? " checked" : "";
            out += menu.enabled(row.command) ? "" : " greyed";
        }
        out += "\n";
    }
}

inline std::string Outline(const ui::Menu& menu) {
    std::string out;
    OutlineRows(menu, menu.table(), "", out);
    return out;
}

}  // namespace zv::testing
