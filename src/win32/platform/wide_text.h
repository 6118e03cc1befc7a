// Text between the program's strings and the wide Windows calls. A path that may hold
// characters outside the ANSI code page (a profile folder named in another script) goes
// about as UTF-8 and meets Windows as UTF-16; shown in an ANSI window, what the code page
// lacks becomes "?".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zv::win32 {

// UTF-16 text for the wide calls, always ended by a NUL. Not std::wstring: one use of that
// links the runtime's whole wide string into the program, some 35 KB of an .exe that must
// stay small, where these few members are all the wide calls need.
class WideText {
  public:
    WideText() = default;
    WideText(const wchar_t* text);  // NOLINT: implicit, as a literal stands for one
    WideText(const wchar_t* text, std::size_t length);
    // `length` NULs, for a call to fill.
    explicit WideText(std::size_t length) : chars_(length + 1, L'\0') {}

    const wchar_t* c_str() const { return chars_.data(); }
    wchar_t* data() { return chars_.data(); }
    std::size_t size() const { return chars_.size() - 1; }
    bool empty() const { return size() == 0; }
    WideText& operator+=(const WideText& more);
    friend WideText operator+(WideText text, const WideText& more) { return text += more; }

  private:
    std::vector<wchar_t> chars_{L'\0'};
};

WideText WideFromUtf8(const std::string& text);
WideText WideFromAnsi(const std::string& text);
std::string Utf8FromWide(const WideText& text);
std::string AnsiFromUtf8(const std::string& text);

}  // namespace zv::win32
