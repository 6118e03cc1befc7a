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
    // leaves the old file whole. The file keeps its access rights. False when any step
    // failed (a folder where no file may be made refuses it).
    virtual bool WriteFileAtomic(const std::string& path, const std::string& bytes) = 0;

    // Writes the bytes over an existing file in place, write-through, and cuts it to their
    // length: it needs only the right to change that one file, not to make files in its
    // folder. A write that fails partway puts the old bytes back as far as it can, but a
    // process killed in the middle can leave it cut short. False when the file is not
    // there or any step failed.
    virtual bool RewriteFile(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace zv
