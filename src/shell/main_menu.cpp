#include "shell/main_menu.h"

namespace zv::shell::main_menu {

ui::MenuTable MenuBar() {
    return {
        {"&File",
         {
             {"&Apply New Settings", mnuApplyNewSettings},
             {"&Registry Backup", mnuRegistryBackup},
             {"&Ping Configuration", mnuPingConfiguration},
             ui::MenuSeparator(),
             {"Restore &Windows Original Settings", mnuRestore},
             ui::MenuSeparator(),
             {"&Exit", mnuExit},
         }},
        {"&View",
         {
             {"&ToolBar", mnuToolBar},
             {"&Status Bar", mnuStatusBar},
             ui::MenuSeparator(),
             {"&Control Panel",
              {
                  {"&Systems...", mnuSystem},
                  {"&Internet...", mnuInternet},
                  {"&Modems...", mnumodem},
                  {"&Networks...", mnuNetwork},
              }},
         }},
        {"&Tools",
         {
             {"&Current Settings...", mnuCurrentSettings},
             {"&Undo Last Change", mnuUndoLastChange},
             {"Undo &All Changes", mnuUndoAllChanges},
             {"&Export for Deployment...", mnuExportForDeployment},
             ui::MenuSeparator(),
             {"&Find Largest MTU...", mnuFindLargestMtu},
         }},
        {"&Help",
         {
             {"User's Guide", mnuHelp1},
             {"&Tip of the Day", mnutip},
             ui::MenuSeparator(),
             {"Contact us",
              {
                  {"Visit our Web Site", mnuwebsite1},
                  {"Email us", mnuemail1},
              }},
         }},
    };
}

}  // namespace zv::shell::main_menu
