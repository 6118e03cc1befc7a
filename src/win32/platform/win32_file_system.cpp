#include "win32/platform/win32_file_system.h"

#include <windows.h>

#include "win32/platform/file_handle.h"

namespace zv::win32 {
namespace {

// The system's files are a few lines long; anything far bigger is not one of them, and
// reading it whole could exhaust memory.
constexpr LONGLONG kLargestReadableFile = 16 * 1024 * 1024;

bool WriteAndFlush(const std::string& path, const std::string& bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) &&
           file.Close();
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) const {
    DWORD attributes = GetFileAttributesA(path.c_str());
    constexpr DWORD kNotOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotOrdinary) == 0;
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) const {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) ||
        size.QuadPart > kLargestReadableFile) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &read,
                        nullptr) ||
            read == 0) {
            return std::nullopt;
        }
        done += read;
    }
    return bytes;
}

// The temporary file has a fixed name beside the target: a save cut short (the program
// killed mid-write) leaves one stray file that the next save reuses, where unique names
// would pile up in the program folder.
bool Win32FileSystem::WriteFileAtomic(const std::string& path, const std::string& bytes) {
    std::string temp = path + ".tmp";
    bool moved =
        WriteAndFlush(temp, bytes) &&
        MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!moved) {
        DeleteFileA(temp.c_str());
    }
    return moved;
}

}  // namespace zv::win32
