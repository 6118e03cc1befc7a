// An in-memory FileSystem: files by exact path, with switches for hidden files and for
// writes that fail (a read-only folder or a full disk).
#pragma once

#include <map>
#include <set>
#include <string>

#include "common/file_system.h"

namespace zv::testing {

class MemoryFileSystem : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> hidden;   // exist, but not as ordinary files
    std::set<std::string> folders;  // a folder of that name
    bool writes_fail = false;
    int writes = 0;
    // An installed copy as a user sees it: no new file may be made in the folder, and only
    // the files named here may be changed.
    bool user_level = false;
    std::set<std::string> user_may_change;

    bool FileExists(const std::string& path) const override {
        return files.count(path) != 0 && hidden.count(path) == 0 && folders.count(path) == 0;
    }

    std::optional<std::string> ReadFile(const std::string& path) const override {
        auto it = files.find(path);
        if (it == files.end() || folders.count(path) != 0) {
            return std::nullopt;
        }
        return it->second;
    }

    bool WriteFileAtomic(const std::string& path, const std::string& bytes) override {
        if (writes_fail || user_level || folders.count(path) != 0) {
            return false;
        }
        ++writes;
        files[path] = bytes;
        return true;
    }

    bool RewriteFile(const std::string& path, const std::string& bytes) override {
        if (writes_fail || files.count(path) == 0 || folders.count(path) != 0 ||
            (user_level && user_may_change.count(path) == 0)) {
            return false;
        }
        ++writes;
        files[path] = bytes;
        return true;
    }
};

}  // namespace zv::testing
