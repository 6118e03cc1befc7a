// The file-system port over kernel32's ANSI file calls.
#pragma once

#include "common/file_system.h"

namespace zv::win32 {

class Win32FileSystem : public FileSystem {
  public:
    bool FileExists(const std::string& path) const override;
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool WriteFileAtomic(const std::string& path, const std::string& bytes) override;
    bool RewriteFile(const std::string& path, const std::string& bytes) override;
};

}  // namespace zv::win32
