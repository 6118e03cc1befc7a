// The folder services beyond reading and writing one file: snapshots keep a folder of
// their own beside the program and prune it, and Undo removes a settings file that was
// not there before.
#pragma once

#include <string>
#include <vector>

namespace zv {

class FolderPort {
  public:
    virtual ~FolderPort() = default;

    // Creates the folder unless it exists; false when it is not there afterwards.
    virtual bool CreateFolder(const std::string& path) = 0;

    // The names (not paths) of the ordinary files in the folder, in no particular order;
    // none for a missing folder.
    virtual std::vector<std::string> FileNames(const std::string& folder) = 0;

    // Deletes the file; true when it is gone, including when it never was there.
    virtual bool RemoveFile(const std::string& path) = 0;
};

}  // namespace zv
