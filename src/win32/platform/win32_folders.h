// The folder port over kernel32's ANSI calls.
#pragma once

#include "common/folder_port.h"

namespace zv::win32 {

class Win32Folders : public FolderPort {
  public:
    bool CreateFolder(const std::string& path) override;
    std::vector<std::string> FileNames(const std::string& folder) override;
    bool RemoveFile(const std::string& path) override;
};

}  // namespace zv::win32
