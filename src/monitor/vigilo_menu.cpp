#include "monitor/vigilo_menu.h"

#include "common/program_name.h"

namespace zv::monitor::vigilo_menu {

ui::MenuTable Popup() {
    return {
        {kProgramName, menu_zorvane},
        {"Ping Configuration", menu_ping_configuration},
        {"Ping Now", menu_ping_now},
        ui::MenuSeparator(),
        {"Contact us",
         {
             {"Visit out web site", menu_web_site},
             {"Email us", menu_email},
         }},
        ui::MenuSeparator(),
        {"User's Guide", menu_help},
        ui::MenuSeparator(),
        {"Connection History...", menu_history},
        {"Outage Report...", menu_outage_report},
        {"Test Responsiveness...", menu_test_responsiveness},
        {"Use System Colours", menu_system_colours},
        {kDisableCaption, menu_disable},
        ui::MenuSeparator(),
        {"Exit", menu_exit},
    };
}

}  // namespace zv::monitor::vigilo_menu
