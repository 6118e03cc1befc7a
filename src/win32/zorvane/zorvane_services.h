// The Windows services of the main program, made once in WinMain and handed to its main
// window: files, registry, message boxes, launchers, the keep-alive ping and its dialog.
#pragma once

#include <string>

#include "ping/keep_alive_ping.h"
#include "launch/launchers.h"
#include "main_window/tip_view.h"
#include "launch/user_level_launcher.h"
#include "main_window/system_operations.h"
#include "netstack/stack_changes.h"
#include "win32/ping/ping_dialog.h"
#include "win32/ping/ping_worker.h"
#include "win32/ping/wave_sound.h"
#include "win32/platform/desktop_shell.h"
#include "win32/platform/win32_file_system.h"
#include "win32/platform/win32_folders.h"
#include "win32/platform/win32_registry.h"
#include "win32/launch/background_launcher.h"
#include "win32/platform/registry_tip_option.h"
#include "win32/platform/single_instance.h"
#include "win32/launch/win32_launcher.h"
#include "win32/netstack/win32_stack_ports.h"
#include "win32/ui/win_ports.h"
#include "win32/zorvane/system_ports_win.h"

namespace zv::win32 {

struct ZorvaneServices {
    explicit ZorvaneServices(const std::string& program_dir)
        : user_level(desktop, direct_start),
          in_background(user_level),
          launchers(launcher, in_background, program_dir),
          ping({ping_worker, sound, files, messages}, program_dir, main_window::kProgramTitle),
          ping_dialog(ping, messages, in_background, program_dir, main_window::kProgramTitle,
                      PingDialogMode::Modal) {}
    ZorvaneServices(const ZorvaneServices&) = delete;
    ZorvaneServices& operator=(const ZorvaneServices&) = delete;

    Win32FileSystem files;
    Win32Folders folders;
    Win32Registry registry;
    Win32MessageBox messages;
    Win32EventPump pump;
    Win32Beeper beeper;
    Win32Restart restart;
    RegistryTipOption tip_option;
    main_window::ClockSeededRandom random;
    // The applets and regedit keep the program's rights; the companion and the pages drop
    // them (the user-level launcher), on threads of their own with a launcher of their own.
    Win32Launcher launcher;
    Win32Launcher direct_start;
    DesktopShell desktop;
    launch::UserLevelLauncher user_level;
    BackgroundLauncher in_background;
    launch::Launchers launchers;
    // The main program offers no Ping Now; the worker is there for the settings' owner.
    PingWorker ping_worker;
    WaveSound sound;
    ping::KeepAlivePing ping;
    PingDialogHost ping_dialog;
    // The modern stack, for Undo of its rows; the machine is filled in at start.
    Win32StackPorts stack{registry};
    netstack::StackMachine stack_machine;
    netstack::StackUndo stack_undo{stack.ports(), stack_machine};
    // Apply, Restore and Undo of the window's thread; the Network Stack window's worker and
    // the MTU's "Use for This Adapter" take one of their own on their threads.
    ChangeLock change_lock;
};

}  // namespace zv::win32
