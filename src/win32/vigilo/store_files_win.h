// The lasting record's files on Windows: the local application-data folder, whole-file
// reads, appends flushed at once, and the lock file that one companion of the user holds
// open, unshared, for as long as it runs (Windows closes it when the process ends, however
// it ends). Paths are UTF-8, handed to the wide functions.
#pragma once

#include <windows.h>

#include "monitor/probe_store.h"
#include "win32/platform/kernel_handle.h"
#include "win32/vigilo/link_ports_win.h"

namespace zv::win32 {

class Win32StoreFiles : public monitor::StoreFilesPort {
  public:
    std::string LocalAppDataFolder() override;
    bool CreateFolder(const std::string& path) override;
    std::vector<std::string> List(const std::string& folder) override;
    std::optional<std::string> Read(const std::string& path) override;
    bool Append(const std::string& path, const std::string& bytes) override;
    bool Truncate(const std::string& path, uint64_t size) override;
    bool Remove(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Lock(const std::string& path) override;

  private:
    Win32LogFiles log_files_;  // whose folders and appends are the same
    KernelHandle lock_;        // the lock file, once had
};

}  // namespace zv::win32
