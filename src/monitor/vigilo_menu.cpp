#include "monitor/vigilo_menu.h"

#include "common/program_name.h"

namespace zv::monitor::vigilo_menu {

ui::MenuTable Popup() {
    return {
        {kProgramName, mnuZorvane},
        {"Ping Configuration", mnuPingConfiguration},
        {"Ping Now", mnuPingNow},
        ui::MenuSeparator(),
        {"Contact us",
         {
             {"Visit out web site", mnuWebsite},
             {"Email us", mnuemail},
         }},
        ui::MenuSeparator(),
        {"User's Guide", mnuHelp},
        ui::MenuSeparator(),
        {"Connection History...", mnuHistory},
        {kDisableCaption, mnuDisable},
        ui::MenuSeparator(),
        {"Exit", mnuExit},
    };
}

}  // namespace zv::monitor::vigilo_menu
