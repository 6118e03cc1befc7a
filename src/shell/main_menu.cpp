#include "shell/main_menu.h"

namespace zv::shell {

MainMenu::MainMenu()
    : entries_{
          {&mnuFile, nullptr},
          {&mnuApplyNewSettings, &mnuFile},
          {&mnuRegistryBackup, &mnuFile},
          {&mnuPingConfiguration, &mnuFile},
          {&mnudash1, &mnuFile},
          {&mnuRestore, &mnuFile},
          {&mnudash2, &mnuFile},
          {&mnuExit, &mnuFile},
          {&mnuView, nullptr},
          {&mnuToolBar, &mnuView},
          {&mnuStatusBar, &mnuView},
          {&mnudash3, &mnuView},
          {&mnuControlPanel, &mnuView},
          {&mnuSystem, &mnuControlPanel},
          {&mnuInternet, &mnuControlPanel},
          {&mnumodem, &mnuControlPanel},
          {&mnuNetwork, &mnuControlPanel},
          {&mnuPopupMenu, nullptr},
          {&mnuZorvane, &mnuPopupMenu},
          {&mnuPingConfig, &mnuPopupMenu},
          {&mnuPingNow, &mnuPopupMenu},
          {&mnudash5, &mnuPopupMenu},
          {&mnucontactus, &mnuPopupMenu},
          {&mnuwebsite, &mnucontactus},
          {&mnuemail, &mnucontactus},
          {&mnudash10, &mnuPopupMenu},
          {&mnuHelp, &mnuPopupMenu},
          {&mnudash7, &mnuPopupMenu},
          {&mnuDisable, &mnuPopupMenu},
          {&mnuHelpMain, nullptr},
          {&mnuHelp1, &mnuHelpMain},
          {&mnutip, &mnuHelpMain},
          {&mnudash9, &mnuHelpMain},
          {&mnucontactus1, &mnuHelpMain},
          {&mnuwebsite1, &mnucontactus1},
          {&mnuemail1, &mnucontactus1},
      } {
    // The tray popup lives on the menu bar only as a holder of its items.
    mnuPopupMenu.SetVisible(false);
    mnuToolBar.SetChecked(true);
    mnuStatusBar.SetChecked(true);
}

std::vector<ui::MenuItem*> MainMenu::ChildrenOf(const ui::MenuItem* parent) const {
    std::vector<ui::MenuItem*> children;
    for (const MenuEntry& entry : entries_) {
        if (entry.parent == parent) {
            children.push_back(entry.item);
        }
    }
    return children;
}

}  // namespace zv::shell
