// Start of the companion: one running copy per session, then the hidden monitor window
// and its message loop until Exit.
#include <windows.h>

#include <string>

#include "ping/keep_alive_ping.h"
#include "win32/ping/icmp_echo_service.h"
#include "win32/ping/wave_sound.h"
#include "win32/ping/winsock_service.h"
#include "win32/platform/program_directory.h"
#include "win32/platform/single_instance.h"
#include "win32/platform/win32_file_system.h"
#include "win32/ui/win_ports.h"
#include "win32/vigilo/frm_vigilo.h"
#include "win32/vigilo/vigilo_services.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The main program starts a companion each time its window loads; the surplus copies
    // end here, silently.
    zv::win32::SingleInstance single_copy("Zorvane.Vigilo");
    if (!single_copy.IsFirstCopy()) {
        return 0;
    }
    std::string program_dir = zv::win32::ProgramDirectory();
    zv::win32::WinsockService sockets;
    zv::win32::IcmpEchoService echo;
    zv::win32::WaveSound sound;
    zv::win32::Win32FileSystem files;
    zv::win32::Win32MessageBox messages;
    zv::win32::Win32EventPump pump;
    zv::ping::KeepAlivePing ping({sockets, echo, sound, files, messages, pump}, program_dir,
                                 "Vigilo");
    zv::win32::Win32LaunchService launchers(program_dir);

    zv::win32::FrmVigilo window(ping, launchers, messages);
    if (!window.Load()) {
        return 1;
    }
    return zv::win32::RunMessageLoop();
}
