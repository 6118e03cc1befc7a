// The clipboard's text, as a paste would insert it and as Copy leaves it.
#pragma once

#include <windows.h>

#include <string>

namespace zv::win32 {

// The text on the clipboard in the ANSI code page; empty when there is none or the
// clipboard is busy.
std::string ClipboardText(HWND owner);

// Puts the text on the clipboard in place of what was there; false when the clipboard
// was busy or memory ran out, and then the clipboard is as it was.
bool SetClipboardText(HWND owner, const std::string& text);

}  // namespace zv::win32
