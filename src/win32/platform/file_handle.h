// A file handle that closes itself, and a write that goes on until every byte is out: the
// two pieces every file port of the programs builds on.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zv::win32 {

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool Close() {
        bool closed = valid() && CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

// Every byte of an open file, read from where it stands; nothing for one larger than `limit`
// bytes or a read that fails or ends early.
inline std::optional<std::string> ReadAll(HANDLE file, LONGLONG limit) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > limit) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file, &bytes[done], static_cast<DWORD>(bytes.size() - done), &read,
                        nullptr) ||
            read == 0) {
            return std::nullopt;
        }
        done += read;
    }
    return bytes;
}

inline bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                         &written, nullptr) ||
            written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace zv::win32
