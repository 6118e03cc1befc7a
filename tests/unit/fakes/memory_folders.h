// Folders over an in-memory FileSystem: a folder holds the files whose path lies directly
// in it; a switch refuses to create folders, as a read-only program folder would.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "common/folder_port.h"
#include "fakes/memory_file_system.h"

namespace zv::testing {

class MemoryFolders : public FolderPort {
  public:
    explicit MemoryFolders(MemoryFileSystem& files) : files_(files) {}

    std::set<std::string> created;
    bool creates_fail = false;

    bool CreateFolder(const std::string& path) override {
        if (creates_fail) {
            return false;
        }
        created.insert(path);
        return true;
    }

    std::vector<std::string> FileNames(const std::string& folder) override {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : files_.files) {
            if (path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
                path[folder.size()] == '\\' &&
                path.find('\\', folder.size() + 1) == std::string::npos) {
                names.push_back(path.substr(folder.size() + 1));
            }
        }
        return names;
    }

    bool RemoveFile(const std::string& path) override {
        files_.files.erase(path);
        return true;
    }

  private:
    MemoryFileSystem& files_;
};

}  // namespace zv::testing
