// Files and the sandbox's environment, as the drivers see them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zv::e2e {

// The variable's value, or empty text when it is not set.
std::string EnvironmentVariable(const char* name);

// The folder part of a path, without the trailing backslash.
std::string FolderOf(const std::string& path);
// This driver's own program file, and the folder it is in (beside it, the stand-ins).
std::string DriverPath();
std::string DriverFolder();

// The installation folder the sandbox filled (%ZV_APP_DIR%), without a trailing backslash.
std::string AppDirectory();
// The programs' files in it: the saved choice and the ping settings.
std::string SettingsFilePath();
std::string PingFilePath();

std::optional<std::string> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileIsPresent(const std::string& path);  // any file or folder of that name
bool RemoveFile(const std::string& path);     // true also when there was none

// The names in a folder that match a pattern such as "*.tmp", without "." and "..".
std::vector<std::string> FileNames(const std::string& folder, const std::string& pattern = "*");

}  // namespace zv::e2e
