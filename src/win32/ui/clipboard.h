// The clipboard's text, as a paste would insert it.
#pragma once

#include <windows.h>

#include <string>

namespace zv::win32 {

// The text on the clipboard in the ANSI code page; empty when there is none or the
// clipboard is busy.
std::string ClipboardText(HWND owner);

}  // namespace zv::win32
