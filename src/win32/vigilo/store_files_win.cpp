#include "win32/vigilo/store_files_win.h"

#include <shlobj.h>

#include "win32/platform/file_handle.h"
#include "win32/platform/wide_text.h"

namespace zv::win32 {
namespace {

// Readers let the writer go on appending and pruning meanwhile.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A day's file holds some 35 KB; anything near this is no file of the record.
constexpr LONGLONG kLargestFile = 256 * 1024 * 1024;

}  // namespace

std::string Win32StoreFiles::LocalAppDataFolder() {
    return UserFolder(CSIDL_LOCAL_APPDATA, L"LOCALAPPDATA");
}

bool Win32StoreFiles::CreateFolder(const std::string& path) {
    return log_files_.CreateFolder(path);
}

std::vector<std::string> Win32StoreFiles::List(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WideFromUtf8(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            names.push_back(Utf8FromWide(found.cFileName));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::optional<std::string> Win32StoreFiles::Read(const std::string& path) {
    FileHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    return file.valid() ? ReadAll(file.get(), kLargestFile) : std::nullopt;
}

bool Win32StoreFiles::Append(const std::string& path, const std::string& bytes) {
    return log_files_.Append(path, bytes);
}

bool Win32StoreFiles::Truncate(const std::string& path, uint64_t size) {
    FileHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    return file.valid() && SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) &&
           SetEndOfFile(file.get()) && FlushFileBuffers(file.get()) && file.Close();
}

bool Win32StoreFiles::Remove(const std::string& path) {
    return DeleteFileW(WideFromUtf8(path).c_str()) != 0;
}

// A folder too, on its volume.
bool Win32StoreFiles::Rename(const std::string& from, const std::string& to) {
    return MoveFileW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str()) != 0;
}

bool Win32StoreFiles::Lock(const std::string& path) {
    if (!lock_) {
        HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
        lock_.Reset(file == INVALID_HANDLE_VALUE ? nullptr : file);
    }
    return static_cast<bool>(lock_);
}

}  // namespace zv::win32
