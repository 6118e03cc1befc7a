#include "win32/zorvane/system_ports_win.h"

#include "win32/platform/run_command.h"
#include "win32/platform/system_folders.h"
#include "win32/ui/save_file_dialog.h"
#include "win32/ui/window_base.h"

namespace zv::win32 {

void Win32Restart::EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA("", "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        TOKEN_PRIVILEGES previous{};
        DWORD previous_size = sizeof(previous);
        AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), &previous,
                              &previous_size);
    }
    CloseHandle(token);
}

bool Win32Restart::Reboot() {
    return ExitWindowsEx(EWX_REBOOT, 0xFFFFFFFF) != 0;
}

std::string Win32Backup::ChooseBackupFile(const std::string& initial_folder) {
    // Registration Entries first: the export is in the registry editor's format, and the
    // shown filter decides the extension a name typed without one gets.
    return ChooseSaveFile({owner_, "Registry Backup",
                           "Text Document (*.txt)\0*.txt\0Registration Entries (*.reg)\0*.reg\0",
                           "reg", initial_folder, "", 2});
}

std::string Win32Backup::WindowsFolder() {
    std::string folder = win32::WindowsFolder();
    return folder.empty() ? "C:\\Windows" : folder;
}

// The owner is disabled meanwhile, so that no second operation starts in the middle of
// this one, while painting and the other messages go on.
std::optional<uint32_t> Win32Backup::RunAndWait(const std::string& command_line, int window_style) {
    StartedProcess process = StartProcess(command_line, window_style);
    if (process.handle == nullptr) {
        return std::nullopt;
    }
    EnableWindow(owner_, FALSE);
    bool ended = false;
    bool quit = false;
    while (!ended && !quit) {
        DWORD woke = MsgWaitForMultipleObjects(1, &process.handle, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            ended = true;
        } else if (woke == WAIT_OBJECT_0 + 1) {
            MSG message;
            while (!quit && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                quit = !DispatchOneMessage(message);
            }
        } else {
            break;
        }
    }
    EnableWindow(owner_, TRUE);
    DWORD exit_code = 0;
    bool known = ended && GetExitCodeProcess(process.handle, &exit_code);
    CloseHandle(process.handle);
    if (!known) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(exit_code);
}

std::string Win32Backup::CreateTemporaryFile(const std::string& folder) {
    char path[MAX_PATH] = {};
    if (GetTempFileNameA(folder.c_str(), "zv", 0, path) == 0) {
        return std::string();
    }
    return path;
}

bool Win32Backup::ReplaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void Win32Backup::RemoveFile(const std::string& path) {
    DeleteFileA(path.c_str());
}

std::optional<uint64_t> Win32Backup::FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace zv::win32
