#include "launch/user_level_launcher.h"

#include "launch/launchers.h"

namespace zv::launch {

void UserLevelLauncher::ShellOpen(const std::string& target, int show_mode) {
    if (!desktop_.Open(target, "", show_mode)) {
        fallback_.ShellOpen(target, show_mode);
    }
}

unsigned long UserLevelLauncher::RunCommand(const std::string& command_line, int window_style) {
    CommandParts parts = SplitCommandLine(command_line);
    if (desktop_.Open(parts.program, parts.arguments, window_style)) {
        return 0;
    }
    return fallback_.RunCommand(command_line, window_style);
}

}  // namespace zv::launch
