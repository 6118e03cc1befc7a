// The ping settings record and its file "Ping.cfg" in the program folder, shared by both
// programs: four lines of "key,value", ANSI, CR LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/file_system.h"

namespace zv::ping {

struct PingSettings {
    bool PingAutomatic = false;  // host and interval are the built-in ones
    std::string PingHost;        // pinged as it stands, never trimmed
    std::string PingInterval;    // whole minutes, 1 to 60, as text
    bool PingSound = false;      // play the ping sound after Ping Now
};

// A public web site that answers pings and is not going away.
inline constexpr const char* DefaultPingHost = "www.wikipedia.org";
inline constexpr const char* kDefaultPingInterval = "5";
inline constexpr int kMinPingMinutes = 1;
inline constexpr int kMaxPingMinutes = 60;

// The built-in host, interval and mode; the sound choice is left alone.
void SetPingDefaults(PingSettings& settings);

// The minutes of an interval text: plain decimal, 1 to 60.
std::optional<int> PingIntervalMinutes(std::string_view text);

std::string PingCfgPath(const std::string& program_dir);

// The four settings read back from the file's text, or nothing when it is damaged: too
// few fields, a flag that is neither #TRUE# nor #FALSE#, or an interval that is not a
// whole number of minutes from 1 to 60.
std::optional<PingSettings> ParsePingCfg(std::string_view text);
std::string FormatPingCfg(const PingSettings& settings);

// Fills the settings from the file; a missing or damaged file gives the defaults.
void LoadPingCfg(const FileSystem& files, const std::string& program_dir, PingSettings& settings);
// False when the file could not be written; the old file is then left whole.
bool SavePingCfg(FileSystem& files, const std::string& program_dir, const PingSettings& settings);

}  // namespace zv::ping
