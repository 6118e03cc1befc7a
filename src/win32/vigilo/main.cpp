// Start of the companion: one running copy per session, then the hidden monitor window
// and its messages until Exit has closed it and no ping dialog is left open.
#include <windows.h>

#include <string>

#include "launch/launchers.h"
#include "win32/ping/keep_alive.h"
#include "win32/platform/program_directory.h"
#include "win32/platform/single_instance.h"
#include "win32/platform/system_library.h"
#include "win32/platform/win32_file_system.h"
#include "win32/launch/win32_launcher.h"
#include "win32/ui/win_ports.h"
#include "win32/vigilo/vigilo_window.h"

namespace {

// The program ends when its last window is gone: Exit closes the monitor window, but a
// ping dialog still open keeps the program until it is closed too.
int RunUntilWindowsClosed(const zv::win32::VigiloWindow& monitor,
                          const zv::win32::KeepAlive& keep_alive) {
    MSG message{};
    while (monitor.hwnd() != nullptr || keep_alive.DialogWindow() != nullptr) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            break;
        }
        zv::win32::DispatchOneMessage(message);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zv::win32::RestrictDllSearchToSystemFolder();
    // The main program starts a companion each time its window loads; the surplus copies
    // end here, silently.
    zv::win32::SingleInstance single_copy("Zorvane.Vigilo");
    if (!single_copy.IsFirstCopy()) {
        return 0;
    }
    std::string program_dir = zv::win32::ProgramDirectory();
    zv::win32::Win32FileSystem files;
    zv::win32::Win32MessageBox messages;
    zv::win32::Win32Launcher launcher;
    zv::win32::KeepAlive keep_alive({files, messages, launcher}, program_dir, "Vigilo",
                                    zv::win32::PingDialogMode::Modeless);
    zv::launch::Launchers launchers(launcher, program_dir);

    zv::win32::VigiloWindow monitor(keep_alive, launchers, messages);
    if (!monitor.Load()) {
        return 1;
    }
    launcher.SetOwner(monitor.hwnd());
    return RunUntilWindowsClosed(monitor, keep_alive);
}
