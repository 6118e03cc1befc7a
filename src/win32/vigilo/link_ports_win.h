// The companion's record keeping on Windows: the clocks, the log folder in the user's
// application data with the user's log lock, and the per-user options in HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include "monitor/link_monitor.h"
#include "monitor/wide_tick_count.h"
#include "win32/platform/kernel_handle.h"

namespace zv::win32 {

// The wall clock, and a forward-only count of milliseconds: GetTickCount64 where Windows
// has it; elsewhere GetTickCount's differences, added up, which pass its wrap after 49.7
// days unharmed as long as the clock is read more often than that.
class Win32Clock : public monitor::ClockPort {
  public:
    Win32Clock();
    monitor::Moment Now() override;

  private:
    int64_t ForwardCount();

    using TickCount64Fn = ULONGLONG(WINAPI*)();
    TickCount64Fn tick_count64_;
    monitor::WideTickCount wide_tick_count_;
};

// A folder of the user's profile (CSIDL_APPDATA, CSIDL_LOCAL_APPDATA), in UTF-8, else the
// environment variable's value; empty when neither says.
std::string UserFolder(int csidl, const wchar_t* variable);

// Its paths are UTF-8, and it calls the wide functions with them.
class Win32LogFiles : public monitor::LogFilePort {
  public:
    std::string AppDataFolder() override;
    bool CreateFolder(const std::string& path) override;
    std::optional<monitor::FileTail> Tail(const std::string& path) override;
    bool Append(const std::string& path, const std::string& bytes) override;
    bool Replace(const std::string& from, const std::string& to) override;
    // A mutex named after the user's SID in the global namespace, so that the user's
    // companions in every session share it.
    bool Lock() override;
    void Unlock() override;

  private:
    KernelHandle lock_;
};

class RegistryMonitorOptions : public monitor::OptionsPort {
  public:
    std::optional<uint32_t> Read(const std::string& name) override;
    void Write(const std::string& name, uint32_t value) override;
    std::optional<std::string> ReadText(const std::string& name) override;
    void WriteText(const std::string& name, const std::string& value) override;
    // IdnToAscii from kernel32.dll (Vista and later) or normaliz.dll (XP and 2003 with the
    // IDN update), through UTF-16 from the ANSI code page.
    std::optional<std::string> AsciiHostName(const std::string& name) override;

  private:
    // The value's type and bytes, or nothing when the key or value is missing.
    std::optional<std::pair<DWORD, std::string>> ReadValue(const std::string& name);
    void WriteValue(const std::string& name, DWORD type, const void* data, DWORD size);
};

}  // namespace zv::win32
