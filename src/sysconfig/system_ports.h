// The Windows services behind the registry backup and the restart, written from what the
// two operations expect of them so that tests can script them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zv::sysconfig {

class RestartPort {
  public:
    virtual ~RestartPort() = default;
    // Asks for the shutdown privilege in the program's own token.
    virtual void EnableShutdownPrivilege() = 0;
    // Asks Windows to reboot; false when Windows refused.
    virtual bool Reboot() = 0;
};

class BackupPort {
  public:
    virtual ~BackupPort() = default;
    // The save dialog, opened in the given folder; "" when the user cancelled.
    virtual std::string ChooseBackupFile(const std::string& initial_folder) = 0;
    // The Windows folder, where the registry editor lives.
    virtual std::string WindowsFolder() = 0;
    // Starts the command line and waits for it to end while the window keeps answering
    // messages; its exit code, or nothing when it could not be started.
    virtual std::optional<uint32_t> RunAndWait(const std::string& command_line,
                                               int window_style) = 0;
    // The file's size in bytes, or nothing when there is no such file.
    virtual std::optional<uint64_t> FileSize(const std::string& path) = 0;
    // Makes a new empty file in the folder, under a name no file there had; its path, or
    // "" when none could be made.
    virtual std::string CreateTemporaryFile(const std::string& folder) = 0;
    // Puts `from` in the place of `to` in one step, replacing a file there; false when
    // that failed, and `to` is then as it was.
    virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
};

}  // namespace zv::sysconfig
