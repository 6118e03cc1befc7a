#include "win32/platform/win32_file_system.h"

#include <windows.h>

#include <vector>

#include "win32/platform/file_handle.h"
#include "win32/platform/wide_text.h"

namespace zv::win32 {
namespace {

// The system's files are a few lines long; anything far bigger is not one of them, and
// reading it whole could exhaust memory.
constexpr LONGLONG kLargestReadableFile = 16 * 1024 * 1024;

bool SetLength(HANDLE file, size_t length) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// The bytes from the start of the file, which is then cut to their length.
bool WriteWhole(HANDLE file, const std::string& bytes) {
    LARGE_INTEGER start{};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && WriteAll(file, bytes) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

// The access list of `from`, given to `to`. Nothing to carry when `from` has none to read
// (it is not there, or its volume keeps no rights).
bool CarryAccessRights(const WideText& from, const WideText& to) {
    DWORD needed = 0;
    GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) {
        return true;
    }
    std::vector<char> descriptor(needed);
    return !GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed,
                             &needed) ||
           SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

bool WriteAndFlush(const WideText& path, const std::string& bytes) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) &&
           file.Close();
}

}  // namespace

WideText Win32FileSystem::Wide(const std::string& path) const {
    return paths_ == PathText::Utf8 ? WideFromUtf8(path) : WideFromAnsi(path);
}

bool Win32FileSystem::FileExists(const std::string& path) const {
    DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    constexpr DWORD kNotOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotOrdinary) == 0;
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) const {
    FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() ? ReadAll(file.get(), kLargestReadableFile) : std::nullopt;
}

// The temporary file has a fixed name beside the target: a save cut short (the program
// killed mid-write) leaves one stray file that the next save reuses, where unique names
// would pile up in the program folder. It gets the old file's access rights before it is
// moved in (an installed Ping.cfg lets the users change it); moved as it is, it would carry
// the folder's.
bool Win32FileSystem::WriteFileAtomic(const std::string& path, const std::string& bytes) {
    WideText target = Wide(path);
    WideText temp = target + L".tmp";
    bool moved = WriteAndFlush(temp, bytes) && CarryAccessRights(target, temp) &&
                 MoveFileExW(temp.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!moved) {
        DeleteFileW(temp.c_str());
    }
    return moved;
}

// The length is made first: a full disk then refuses it before a byte of the old content
// is overwritten. What can still fail partway (a device error) is undone with the old
// bytes. Unlike the atomic write, a kill between the steps can leave the file cut or
// padded; it is only the way out where no file can be made beside this one.
bool Win32FileSystem::RewriteFile(const std::string& path, const std::string& bytes) {
    std::optional<std::string> old = ReadFile(path);
    if (!old) {
        return false;
    }
    FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!file.valid()) {
        return false;
    }
    if (bytes.size() > old->size() && !SetLength(file.get(), bytes.size())) {
        SetLength(file.get(), old->size());
        return false;
    }
    if (WriteWhole(file.get(), bytes)) {
        return file.Close();
    }
    WriteWhole(file.get(), *old);
    return false;
}

}  // namespace zv::win32
