// Start of the main program: one running copy, the Windows release, the start-up argument
// that makes the program only a launcher for the companion or runs a switch without a
// window, then the main window.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

#include "launch/launchers.h"
#include "main_window/program_records.h"
#include "main_window/start_program.h"
#include "main_window/tool_switches.h"
#include "launch/user_level_launcher.h"
#include "win32/platform/console_output.h"
#include "win32/platform/desktop_shell.h"
#include "win32/platform/program_directory.h"
#include "win32/platform/single_instance.h"
#include "win32/platform/system_library.h"
#include "win32/platform/version_query.h"
#include "win32/platform/win32_file_system.h"
#include "win32/platform/win32_folders.h"
#include "win32/platform/win32_registry.h"
#include "win32/launch/background_launcher.h"
#include "win32/launch/win32_launcher.h"
#include "win32/netstack/win32_stack_ports.h"
#include "win32/ui/window_base.h"
#include "win32/zorvane/main_window.h"

namespace {

class Win32StartPorts : public zv::main_window::StartPorts {
  public:
    explicit Win32StartPorts(const std::string& program_dir)
        : launchers_(launcher_, in_background_, program_dir) {}

    // Made only when asked for: /check, /? and the companion's start never take it.
    bool IsFirstCopy() override {
        if (!single_copy_) {
            single_copy_.emplace(kMainProgramLock, zv::win32::LockScope::AllSessions);
        }
        return single_copy_->IsFirstCopy();
    }
    bool WriterRuns() override {
        return zv::win32::LockIsHeld(kMainProgramLock, zv::win32::LockScope::AllSessions);
    }
    zv::WindowsVersion DetectWindowsVersion() override { return zv::win32::DetectWindowsVersion(); }
    // At the user's level, as the main window starts it.
    void StartCompanion() override { launchers_.StartCompanion(); }

  private:
    // One copy that may write on the computer, whichever session runs it: a deployment
    // agent's /apply in session 0 must be refused while an administrator has the window
    // open in another.
    static constexpr char kMainProgramLock[] = "Zorvane.MainProgram";
    std::optional<zv::win32::SingleInstance> single_copy_;
    zv::win32::Win32Launcher launcher_;
    zv::win32::DesktopShell desktop_;
    zv::launch::UserLevelLauncher user_level_{desktop_, launcher_};
    // On a thread of its own, so that an Explorer that does not answer holds the process
    // only for the bounded wait at its end.
    zv::win32::BackgroundLauncher in_background_{user_level_};
    zv::launch::Launchers launchers_;
};

// Closing the main window does not end the program while a tip of the day opened from
// the Help menu is still open; the last window closed ends it. Each window's destruction
// wakes the loop (see WindowBase), so the test runs after every close.
int RunUntilWindowsClosed(const zv::win32::MainWindow& main_window) {
    MSG message{};
    while (main_window.AnyWindowOpen()) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            break;
        }
        zv::win32::DispatchOneMessage(message);
    }
    return 0;
}

// A switch runs without a window: its report goes to the console, its code to the caller.
int RunToolSwitch(const zv::main_window::ToolSwitch& tool, zv::main_window::StartPorts& start,
                  zv::main_window::ProgramRecords& records) {
    zv::win32::Win32FileSystem files;
    zv::win32::Win32Folders folders;
    zv::win32::Win32Registry registry;
    zv::win32::Win32StackPorts stack(registry);
    zv::win32::ChangeLock change_lock;
    zv::CommandReport report = zv::main_window::RunToolSwitch(
        tool, {start, files, folders, registry, stack.ports(), &change_lock}, records);
    zv::win32::WriteToConsole(report.text);
    return report.exit_code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
    zv::win32::RestrictDllSearchToSystemFolder();
    zv::main_window::ProgramRecords records;
    records.ProgramDirectory = zv::win32::ProgramDirectory();
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    records.Processors = system.dwNumberOfProcessors;
    Win32StartPorts start(records.ProgramDirectory);
    if (auto tool = zv::main_window::ParseToolSwitch(command_line)) {
        return RunToolSwitch(*tool, start, records);
    }
    zv::main_window::StartOutcome outcome =
        zv::main_window::StartProgram(start, command_line, records);
    if (outcome == zv::main_window::StartOutcome::EndSilently ||
        outcome == zv::main_window::StartOutcome::CompanionOnly) {
        return 0;
    }
    // The toolbar, status bar and tooltips of the main window; each dialog registers the
    // common controls it makes as it opens.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    zv::win32::ZorvaneServices services(records.ProgramDirectory);
    services.stack_machine = {records.WindowsRelease, records.WindowsDetail, records.Processors};
    zv::win32::MainWindow main_window(records, services);
    if (!main_window.Open()) {
        return 1;
    }
    if (outcome == zv::main_window::StartOutcome::ShowMainWindowNormal) {
        main_window.controller().frmMain.SetState(zv::ui::WindowState::Normal);
    }
    return RunUntilWindowsClosed(main_window);
}
