#include "win32/platform/wide_text.h"

#include <windows.h>

namespace zv::win32 {
namespace {

std::wstring Widen(UINT code_page, const std::string& text) {
    int length =
        MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string Narrow(UINT code_page, const std::wstring& text) {
    int length = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                        length, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::wstring WideFromUtf8(const std::string& text) {
    return Widen(CP_UTF8, text);
}

std::wstring WideFromAnsi(const std::string& text) {
    return Widen(CP_ACP, text);
}

std::string Utf8FromWide(const std::wstring& text) {
    return Narrow(CP_UTF8, text);
}

std::string AnsiFromUtf8(const std::string& text) {
    return Narrow(CP_ACP, WideFromUtf8(text));
}

}  // namespace zv::win32
