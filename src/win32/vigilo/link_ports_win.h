// The companion's record keeping on Windows: the wall clock, the log folder in the user's
// application data, and the per-user options in HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include "monitor/link_monitor.h"

namespace zv::win32 {

class Win32WallClock : public monitor::ClockPort {
  public:
    monitor::WallTime Now() override;
};

class Win32LogFiles : public monitor::LogFilePort {
  public:
    std::string AppDataFolder() override;
    bool CreateFolder(const std::string& path) override;
    std::optional<monitor::FileTail> Tail(const std::string& path) override;
    bool Append(const std::string& path, const std::string& bytes) override;
    bool Replace(const std::string& from, const std::string& to) override;
};

class RegistryMonitorOptions : public monitor::OptionsPort {
  public:
    std::optional<uint32_t> Read(const std::string& name) override;
    void Write(const std::string& name, uint32_t value) override;
};

}  // namespace zv::win32
