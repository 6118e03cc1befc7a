// The restart and the registry backup on Windows: the shutdown privilege and
// ExitWindowsEx, the save dialog, the registry editor waited for with the window alive,
// and the export file made beside the target and moved over it.
#pragma once

#include <windows.h>

#include "sysconfig/system_ports.h"

namespace zv::win32 {

class Win32Restart : public sysconfig::RestartPort {
  public:
    void EnableShutdownPrivilege() override;
    bool Reboot() override;
};

class Win32Backup : public sysconfig::BackupPort {
  public:
    // owner: the window that owns the save dialog and stays disabled during the export.
    explicit Win32Backup(HWND owner) : owner_(owner) {}

    std::string ChooseBackupFile(const std::string& initial_folder) override;
    std::string WindowsFolder() override;
    std::optional<uint32_t> RunAndWait(const std::string& command_line, int window_style) override;
    std::optional<uint64_t> FileSize(const std::string& path) override;
    std::string CreateTemporaryFile(const std::string& folder) override;
    bool ReplaceFile(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;

  private:
    HWND owner_;
};

}  // namespace zv::win32
