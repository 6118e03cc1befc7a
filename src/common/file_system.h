// The file services the core needs, behind a port so that the settings files, tips and
// sound can be tested in memory. Paths are ANSI text, as Windows takes them.
#pragma once

#include <optional>
#include <string>

namespace zv {

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // True when the path names an existing ordinary file; false for a missing path, a
    // folder, or a hidden or system file.
    virtual bool FileExists(const std::string& path) const = 0;

    // The whole file, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> ReadFile(const std::string& path) const = 0;

    // Replaces the file with these bytes in one step: a temporary file in the same folder
    // is written and flushed, then moved over the old one, so a failure at any point
    // leaves the old file whole. False when any step failed.
    virtual bool WriteFileAtomic(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace zv
