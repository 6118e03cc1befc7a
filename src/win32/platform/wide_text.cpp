#include "win32/platform/wide_text.h"

#include <windows.h>

#include <cwchar>

namespace zv::win32 {
namespace {

WideText Widen(UINT code_page, const std::string& text) {
    int length =
        MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    WideText wide(static_cast<std::size_t>(length > 0 ? length : 0));
    MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string Narrow(UINT code_page, const WideText& text) {
    int length = WideCharToMultiByte(code_page, 0, text.c_str(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(code_page, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(),
                        length, nullptr, nullptr);
    return narrow;
}

}  // namespace

WideText::WideText(const wchar_t* text) : WideText(text, std::wcslen(text)) {}

WideText::WideText(const wchar_t* text, std::size_t length) : chars_(text, text + length) {
    chars_.push_back(L'\0');
}

WideText& WideText::operator+=(const WideText& more) {
    chars_.pop_back();
    chars_.insert(chars_.end(), more.chars_.begin(), more.chars_.end());
    return *this;
}

WideText WideFromUtf8(const std::string& text) {
    return Widen(CP_UTF8, text);
}

WideText WideFromAnsi(const std::string& text) {
    return Widen(CP_ACP, text);
}

std::string Utf8FromWide(const WideText& text) {
    return Narrow(CP_UTF8, text);
}

std::string AnsiFromUtf8(const std::string& text) {
    return Narrow(CP_ACP, WideFromUtf8(text));
}

}  // namespace zv::win32
