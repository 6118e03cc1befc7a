#include "ping/ping_settings.h"

#include "common/numbers.h"
#include "ping/cfg_fields.h"

namespace zv::ping {

namespace {

constexpr const char* kTrue = "#TRUE#";
constexpr const char* kFalse = "#FALSE#";

std::optional<bool> ParseFlag(const std::string& field) {
    if (field == kTrue) {
        return true;
    }
    if (field == kFalse) {
        return false;
    }
    return std::nullopt;
}

const char* FormatFlag(bool flag) {
    return flag ? kTrue : kFalse;
}

// The value of the next "key,value" pair; the key is not checked.
std::optional<std::string> NextValue(CfgFieldReader& reader) {
    if (!reader.Next()) {
        return std::nullopt;
    }
    return reader.Next();
}

}  // namespace

void SetPingDefaults(PingSettings& settings) {
    settings.PingAutomatic = true;
    settings.PingHost = DefaultPingHost;
    settings.PingInterval = kDefaultPingInterval;
}

std::optional<int> PingIntervalMinutes(std::string_view text) {
    if (!IsAllDigits(text)) {
        return std::nullopt;
    }
    auto minutes = ParseDecimal(text, kMinPingMinutes, kMaxPingMinutes);
    if (!minutes) {
        return std::nullopt;
    }
    return static_cast<int>(*minutes);
}

std::string PingCfgPath(const std::string& program_dir) {
    return program_dir + "\\Ping.cfg";
}

std::optional<PingSettings> ParsePingCfg(std::string_view text) {
    CfgFieldReader reader(text);
    auto automatic = NextValue(reader);
    auto host = NextValue(reader);
    auto interval = NextValue(reader);
    auto sound = NextValue(reader);
    if (!sound) {
        return std::nullopt;
    }
    auto automatic_flag = ParseFlag(*automatic);
    auto minutes = PingIntervalMinutes(*interval);
    auto sound_flag = ParseFlag(*sound);
    if (!automatic_flag || !minutes || !sound_flag) {
        return std::nullopt;
    }
    return PingSettings{*automatic_flag, *host, std::to_string(*minutes), *sound_flag};
}

std::string FormatPingCfg(const PingSettings& settings) {
    return std::string("PingAutomatic,") + FormatFlag(settings.PingAutomatic) + "\r\n" +
           "PingHost," + settings.PingHost + "\r\n" + "PingInterval," + settings.PingInterval +
           "\r\n" + "PingSound," + FormatFlag(settings.PingSound) + "\r\n";
}

void LoadPingCfg(const FileSystem& files, const std::string& program_dir, PingSettings& settings) {
    std::string path = PingCfgPath(program_dir);
    std::optional<PingSettings> read;
    if (files.FileExists(path)) {
        if (auto text = files.ReadFile(path)) {
            read = ParsePingCfg(*text);
        }
    }
    if (read) {
        settings = *read;
    } else {
        SetPingDefaults(settings);
    }
}

// Both programs write this file: the main program elevated, the companion at the user's
// level. An installed copy lets the users change this one file but make nothing beside it,
// so the temporary file of the atomic write cannot be made there; the file is then
// rewritten in place.
bool SavePingCfg(FileSystem& files, const std::string& program_dir, const PingSettings& settings) {
    std::string path = PingCfgPath(program_dir);
    std::string text = FormatPingCfg(settings);
    return files.WriteFileAtomic(path, text) ||
           (files.FileExists(path) && files.RewriteFile(path, text));
}

}  // namespace zv::ping
