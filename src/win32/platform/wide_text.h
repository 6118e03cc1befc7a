// Text between the program's strings and the wide Windows calls. A path that may hold
// characters outside the ANSI code page (a profile folder named in another script) goes
// about as UTF-8 and meets Windows as UTF-16; shown in an ANSI window, what the code page
// lacks becomes "?".
#pragma once

#include <string>

namespace zv::win32 {

std::wstring WideFromUtf8(const std::string& text);
std::wstring WideFromAnsi(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
std::string AnsiFromUtf8(const std::string& text);

}  // namespace zv::win32
