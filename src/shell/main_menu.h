// The menu tree of the main window: the menu bar (File, View, Help) and the tray popup
// (mnuPopupMenu), which is never shown on the bar. Captions carry their access keys; "-"
// is a separator. The real menus are built from entries(), in order.
#pragma once

#include <vector>

#include "ui/captioned.h"

namespace zv::shell {

inline constexpr const char* kSeparator = "-";

struct MenuEntry {
    ui::MenuItem* item;
    ui::MenuItem* parent;  // null for a menu of the menu bar
};

class MainMenu {
  public:
    MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    ui::MenuItem mnuFile{"mnuFile", "&File"};
    ui::MenuItem mnuApplyNewSettings{"mnuApplyNewSettings", "&Apply New Settings"};
    ui::MenuItem mnuRegistryBackup{"mnuRegistryBackup", "&Registry Backup"};
    ui::MenuItem mnuPingConfiguration{"mnuPingConfiguration", "&Ping Configuration"};
    ui::MenuItem mnudash1{"mnudash1", kSeparator};
    ui::MenuItem mnuRestore{"mnuRestore", "Restore &Windows Original Settings"};
    ui::MenuItem mnudash2{"mnudash2", kSeparator};
    ui::MenuItem mnuExit{"mnuExit", "&Exit"};

    ui::MenuItem mnuView{"mnuView", "&View"};
    ui::MenuItem mnuToolBar{"mnuToolBar", "&ToolBar"};
    ui::MenuItem mnuStatusBar{"mnuStatusBar", "&Status Bar"};
    ui::MenuItem mnudash3{"mnudash3", kSeparator};
    ui::MenuItem mnuControlPanel{"mnuControlPanel", "&Control Panel"};
    ui::MenuItem mnuSystem{"mnuSystem", "&Systems..."};
    ui::MenuItem mnuInternet{"mnuInternet", "&Internet..."};
    ui::MenuItem mnumodem{"mnumodem", "&Modems..."};
    ui::MenuItem mnuNetwork{"mnuNetwork", "&Networks..."};

    ui::MenuItem mnuPopupMenu{"mnuPopupMenu", "PopupMenuDisplay"};
    ui::MenuItem mnuZorvane{"mnuZorvane", "Zorvane"};
    ui::MenuItem mnuPingConfig{"mnuPingConfig", "Ping Configuration"};
    ui::MenuItem mnuPingNow{"mnuPingNow", "Ping Now"};
    ui::MenuItem mnudash5{"mnudash5", kSeparator};
    ui::MenuItem mnucontactus{"mnucontactus", "Contact us"};
    ui::MenuItem mnuwebsite{"mnuwebsite", "Visit our Web Site"};
    ui::MenuItem mnuemail{"mnuemail", "Email us"};
    ui::MenuItem mnudash10{"mnudash10", kSeparator};
    ui::MenuItem mnuHelp{"mnuHelp", "User's Guide"};
    ui::MenuItem mnudash7{"mnudash7", kSeparator};
    ui::MenuItem mnuDisable{"mnuDisable", "Disable"};

    ui::MenuItem mnuHelpMain{"mnuHelpMain", "&Help"};
    ui::MenuItem mnuHelp1{"mnuHelp1", "User's Guide"};
    ui::MenuItem mnutip{"mnutip", "&Tip of the Day"};
    ui::MenuItem mnudash9{"mnudash9", kSeparator};
    ui::MenuItem mnucontactus1{"mnucontactus1", "Contact us"};
    ui::MenuItem mnuwebsite1{"mnuwebsite1", "Visit our Web Site"};
    ui::MenuItem mnuemail1{"mnuemail1", "Email us"};

    // Every item in menu order, each after its parent.
    const std::vector<MenuEntry>& entries() const { return entries_; }
    std::vector<ui::MenuItem*> ChildrenOf(const ui::MenuItem* parent) const;

  private:
    std::vector<MenuEntry> entries_;
};

inline bool IsSeparator(const ui::MenuItem& item) {
    return item.caption() == kSeparator;
}

}  // namespace zv::shell
