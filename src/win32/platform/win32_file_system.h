// The file-system port over kernel32's wide file calls. Its paths are ANSI text, as the
// program's are; one made for UTF-8 paths takes a path the wide save dialog chose, which
// may hold characters outside the ANSI code page.
#pragma once

#include <string>

#include "common/file_system.h"
#include "win32/platform/wide_text.h"

namespace zv::win32 {

enum class PathText { Ansi, Utf8 };

class Win32FileSystem : public FileSystem {
  public:
    explicit Win32FileSystem(PathText paths = PathText::Ansi) : paths_(paths) {}

    bool FileExists(const std::string& path) const override;
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool WriteFileAtomic(const std::string& path, const std::string& bytes) override;
    bool RewriteFile(const std::string& path, const std::string& bytes) override;

  private:
    WideText Wide(const std::string& path) const;

    PathText paths_;
};

}  // namespace zv::win32
