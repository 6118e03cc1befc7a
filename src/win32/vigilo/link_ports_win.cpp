#include "win32/vigilo/link_ports_win.h"

#include <shlobj.h>

#include <cstring>
#include <utility>

#include "win32/platform/file_handle.h"
#include "win32/platform/system_library.h"
#include "win32/platform/wide_text.h"

namespace zv::win32 {
namespace {

// 100-ns intervals from 1601 to 1970.
constexpr ULONGLONG kUnixEpoch = 116444736000000000ULL;

ULONGLONG Ticks(const FILETIME& time) {
    return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// How long a companion waits for another one of the same user to finish its line: a few
// file calls, so a longer wait means a hung holder, which must not hold up this window.
constexpr DWORD kLogLockWaitMs = 1000;

// The user's SID as text ("S-1-5-21-..."), or empty text where Windows has no such thing.
std::string UserSid() {
    using OpenTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using TokenInfoFn = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    using SidToTextFn = BOOL(WINAPI*)(PSID, LPSTR*);
    auto open_token = LoadedSystemFunction<OpenTokenFn>("advapi32.dll", "OpenProcessToken");
    auto token_info = LoadedSystemFunction<TokenInfoFn>("advapi32.dll", "GetTokenInformation");
    auto sid_to_text = LoadedSystemFunction<SidToTextFn>("advapi32.dll", "ConvertSidToStringSidA");
    HANDLE token = nullptr;
    if (open_token == nullptr || token_info == nullptr || sid_to_text == nullptr ||
        !open_token(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return "";
    }
    std::string sid;
    BYTE buffer[256];
    DWORD size = 0;
    char* text = nullptr;
    if (token_info(token, TokenUser, buffer, sizeof buffer, &size) &&
        sid_to_text(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

LONG QueryValue(HKEY key, const std::string& name, DWORD& type, std::string& bytes, DWORD& size) {
    size = static_cast<DWORD>(bytes.size());
    return RegQueryValueExA(key, name.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(bytes.data()), &size);
}

// A REG_EXPAND_SZ text with the environment's values in place of its %NAME% references;
// the text as stored when that cannot be made.
std::string ExpandedText(const std::string& text) {
    DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    std::string expanded(size, '\0');
    DWORD written = size == 0 ? 0 : ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size);
    if (written == 0 || written > size) {
        return text;
    }
    return expanded.substr(0, expanded.find('\0'));
}

}  // namespace

Win32Clock::Win32Clock()
    : tick_count64_(LoadedSystemFunction<TickCount64Fn>("kernel32.dll", "GetTickCount64")),
      wide_tick_count_(GetTickCount()) {}

int64_t Win32Clock::ForwardCount() {
    if (tick_count64_ != nullptr) {
        return static_cast<int64_t>(tick_count64_());
    }
    return wide_tick_count_.Read(GetTickCount());
}

monitor::Moment Win32Clock::Now() {
    FILETIME utc;
    GetSystemTimeAsFileTime(&utc);
    FILETIME local;
    LONGLONG offset_ticks = 0;
    if (FileTimeToLocalFileTime(&utc, &local)) {
        offset_ticks = static_cast<LONGLONG>(Ticks(local) - Ticks(utc));
    }
    monitor::WallTime wall{static_cast<int64_t>((Ticks(utc) - kUnixEpoch) / 10000),
                           static_cast<int>(offset_ticks / 600000000LL)};
    return {wall, ForwardCount()};
}

// Windows before 2000 knows no Global names and no SIDs; it has one session, and the
// plain name serves there.
bool Win32LogFiles::Lock() {
    if (!lock_) {
        std::string name = "Zorvane.Vigilo.Log." + UserSid();
        lock_.Reset(CreateMutexA(nullptr, FALSE, ("Global\\" + name).c_str()));
        if (!lock_) {
            lock_.Reset(CreateMutexA(nullptr, FALSE, name.c_str()));
        }
    }
    if (!lock_) {
        return false;
    }
    DWORD waited = WaitForSingleObject(lock_.get(), kLogLockWaitMs);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void Win32LogFiles::Unlock() {
    ReleaseMutex(lock_.get());
}

// The shell's answer where it has SHGetFolderPathW (Windows 2000 and later); the
// environment's otherwise. Wide, so that a profile folder named outside the ANSI code page
// can be written to.
std::string UserFolder(int csidl, const wchar_t* variable) {
    using GetFolderFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    auto get_folder = reinterpret_cast<GetFolderFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("shell32.dll"), "SHGetFolderPathW")));
    wchar_t path[MAX_PATH] = L"";
    if (get_folder != nullptr &&
        SUCCEEDED(get_folder(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return Utf8FromWide(path);
    }
    DWORD length = GetEnvironmentVariableW(variable, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? Utf8FromWide(WideText(path, length)) : "";
}

std::string Win32LogFiles::AppDataFolder() {
    return UserFolder(CSIDL_APPDATA, L"APPDATA");
}

bool Win32LogFiles::CreateFolder(const std::string& path) {
    WideText folder = WideFromUtf8(path);
    CreateDirectoryW(folder.c_str(), nullptr);
    DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<monitor::FileTail> Win32LogFiles::Tail(const std::string& path) {
    FileHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file.valid() || !GetFileSizeEx(file.get(), &size)) {
        return std::nullopt;
    }
    monitor::FileTail tail{static_cast<uint64_t>(size.QuadPart), '\n'};
    DWORD read = 0;
    if (size.QuadPart > 0 &&
        SetFilePointer(file.get(), -1, nullptr, FILE_END) != INVALID_SET_FILE_POINTER) {
        ::ReadFile(file.get(), &tail.last, 1, &read, nullptr);
    }
    return tail;
}

// One write of the whole line, flushed at once: what a crash can leave is the start of a
// line, which the next append ends.
bool Win32LogFiles::Append(const std::string& path, const std::string& bytes) {
    FileHandle file(CreateFileW(WideFromUtf8(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) &&
           file.Close();
}

bool Win32LogFiles::Replace(const std::string& from, const std::string& to) {
    return MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::optional<std::pair<DWORD, std::string>> RegistryMonitorOptions::ReadValue(
    const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, monitor::kOptionsKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    // Whatever a stranger stored is read whole, up to a bound, so that the host check can
    // name what it refuses. A value that grows again between the two reads counts as none.
    constexpr DWORD kValueBound = 1 << 20;
    std::string bytes(1024, '\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(bytes.size());
    LONG result = QueryValue(key, name, type, bytes, size);
    if (result == ERROR_MORE_DATA && size <= kValueBound) {
        bytes.resize(size);
        result = QueryValue(key, name, type, bytes, size);
    }
    bytes.resize(result == ERROR_SUCCESS ? size : 0);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::make_pair(type, bytes);
}

std::optional<uint32_t> RegistryMonitorOptions::Read(const std::string& name) {
    std::optional<std::pair<DWORD, std::string>> value = ReadValue(name);
    if (!value || value->first != REG_DWORD || value->second.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD number = 0;
    std::memcpy(&number, value->second.data(), sizeof number);
    return number;
}

// A stored text need not end with its zero: it ends at the first one or at its size.
std::optional<std::string> RegistryMonitorOptions::ReadText(const std::string& name) {
    std::optional<std::pair<DWORD, std::string>> value = ReadValue(name);
    if (!value || (value->first != REG_SZ && value->first != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::string text = value->second.substr(0, value->second.find('\0'));
    return value->first == REG_EXPAND_SZ ? ExpandedText(text) : text;
}

void RegistryMonitorOptions::WriteValue(const std::string& name, DWORD type, const void* data,
                                        DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, monitor::kOptionsKey, 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void RegistryMonitorOptions::Write(const std::string& name, uint32_t value) {
    DWORD data = value;
    WriteValue(name, REG_DWORD, &data, sizeof data);
}

void RegistryMonitorOptions::WriteText(const std::string& name, const std::string& value) {
    WriteValue(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

std::optional<std::string> RegistryMonitorOptions::AsciiHostName(const std::string& name) {
    using IdnToAsciiFn = int(WINAPI*)(DWORD, LPCWSTR, int, LPWSTR, int);
    auto to_ascii = LoadedSystemFunction<IdnToAsciiFn>("kernel32.dll", "IdnToAscii");
    SystemLibrary normaliz("normaliz.dll");
    if (to_ascii == nullptr) {
        to_ascii = normaliz.Function<IdnToAsciiFn>("IdnToAscii");
    }
    wchar_t wide[256];
    wchar_t ascii[256];
    int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.c_str(),
                                     static_cast<int>(name.size()), wide, 255);
    if (to_ascii == nullptr || length <= 0) {
        return std::nullopt;
    }
    int ascii_length = to_ascii(0, wide, length, ascii, 255);
    std::string text;
    for (int i = 0; i < ascii_length; ++i) {
        if (ascii[i] >= 0x80) {
            return std::nullopt;
        }
        text += static_cast<char>(ascii[i]);
    }
    return ascii_length > 0 ? std::optional<std::string>(text) : std::nullopt;
}

}  // namespace zv::win32
